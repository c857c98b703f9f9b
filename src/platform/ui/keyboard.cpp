// The keyboard: the modifier state of the key being delivered, the translation of key-down
// messages into characters, and the delivery of a key through the message loop.
#include "platform/ui/front_end.h"
#include "platform/ui/window_record.h"

namespace {

KeyPress currentKey = {0, false, false};

// What the keyboard layout makes of a key: digits, letters, space and Backspace.
char CharacterOf(WPARAM key, bool shift)
{
    if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_BACK) {
        return static_cast<char>(key);
    }
    if (key >= 'A' && key <= 'Z') {
        return static_cast<char>(shift ? key : key - 'A' + 'a');
    }
    return 0;
}

// Offers the message to PreTranslateMessage of its window and each parent in turn.
bool PreTranslate(MSG& message)
{
    for (HWND window = message.hwnd; window != nullptr; window = GetParent(window)) {
        if (window->object != nullptr && window->procedures->preTranslateMessage(window->object, &message)) {
            return true;
        }
    }
    return false;
}

void Deliver(MSG message)
{
    if (!IsWindow(message.hwnd) || PreTranslate(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace

short GetKeyState(int virtualKey)
{
    const bool down = (virtualKey == VK_SHIFT && currentKey.shift) ||
                      (virtualKey == VK_MENU && currentKey.alt);
    return down ? static_cast<short>(0x8000) : 0;
}

BOOL TranslateMessage(const MSG* message)
{
    const bool system = message->message == WM_SYSKEYDOWN;
    if (message->message != WM_KEYDOWN && !system) {
        return FALSE;
    }
    const char character = CharacterOf(message->wParam, GetKeyState(VK_SHIFT) < 0);
    if (character == 0) {
        return FALSE;
    }
    const char posted = system ? static_cast<char>(character | 0x20) : character;
    return PostMessageA(message->hwnd, system ? WM_SYSCHAR : WM_CHAR,
                        static_cast<unsigned char>(posted), 0);
}

void PressKey(const KeyPress& key)
{
    currentKey = key;
    HWND target = GetFocus() != nullptr ? GetFocus() : ActiveWindow();
    Deliver(MSG{target, key.alt ? static_cast<UINT>(WM_SYSKEYDOWN) : static_cast<UINT>(WM_KEYDOWN),
                key.virtualKey, 0});
    MSG posted;
    while (PeekMessageA(&posted)) {
        Deliver(posted);
    }
    currentKey = KeyPress{0, false, false};
}
