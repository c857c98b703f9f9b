// The dialog manager: dialogs built from templates, and the keyboard interface of a dialog
// (IsDialogMessageA): Tab and the arrows move between tab stops, Enter and Escape become
// IDOK and IDCANCEL, Alt with a label's underlined letter moves to the control after it.
#include <algorithm>
#include <cctype>

#include "platform/ui/window_record.h"

namespace {

bool IsWithin(HWND window, HWND dialog)
{
    for (; window != nullptr; window = GetParent(window)) {
        if (window == dialog) {
            return true;
        }
    }
    return false;
}

void MoveFocus(HWND dialog, HWND target)
{
    if (target != nullptr) {
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    }
}

void SendCommand(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool IsPushButton(HWND window)
{
    const DWORD type = window->style & BS_TYPEMASK;
    return window->windowClass == WindowButton && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

void PressEnter(HWND dialog, HWND focus)
{
    if (focus != nullptr && IsPushButton(focus)) {
        SendMessageA(focus, BM_CLICK, 0, 0);
    } else {
        SendCommand(dialog, IDOK);
    }
}

bool HandleNavigationKey(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    switch (key) {
    case VK_TAB:
        MoveFocus(dialog, GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0));
        return true;
    case VK_DOWN:
    case VK_RIGHT:
        MoveFocus(dialog, GetNextDlgTabItem(dialog, focus, FALSE));
        return true;
    case VK_UP:
    case VK_LEFT:
        MoveFocus(dialog, GetNextDlgTabItem(dialog, focus, TRUE));
        return true;
    case VK_RETURN:
        PressEnter(dialog, focus);
        return true;
    case VK_ESCAPE:
        SendCommand(dialog, IDCANCEL);
        return true;
    default:
        return false;
    }
}

// The control a mnemonic leads to: a button itself, or for a label the next tab stop.
HWND MnemonicTarget(HWND labelled)
{
    if (labelled->windowClass != WindowStatic) {
        return labelled;
    }
    HWND next = GetNextDlgTabItem(GetParent(labelled), labelled, FALSE);
    return next != labelled ? next : nullptr;
}

// The dialog's controls in tab order, with those of the dialogs it holds (such as an
// embedded page) in the place of those dialogs.
void CollectControls(HWND dialog, std::vector<HWND>& controls)
{
    for (HWND child : dialog->children) {
        if (child->windowClass == WindowDialog) {
            CollectControls(child, controls);
        } else {
            controls.push_back(child);
        }
    }
}

// Searches from the control after the focus on, so that two labels sharing a letter are
// reached in turn.
void FollowMnemonic(HWND dialog, char letter)
{
    std::vector<HWND> controls;
    CollectControls(dialog, controls);
    const auto focus = std::find(controls.begin(), controls.end(), GetFocus());
    const std::size_t start = focus == controls.end() ? 0 : (focus - controls.begin()) + 1;
    for (std::size_t step = 0; step < controls.size(); ++step) {
        HWND control = controls[(start + step) % controls.size()];
        if (MnemonicOf(control->text) == letter && IsWindowEnabled(control)) {
            MoveFocus(GetParent(control), MnemonicTarget(control));
            return;
        }
    }
}

}  // namespace

WindowClass WindowClassOf(ControlClass controlClass)
{
    switch (controlClass) {
    case ControlButton:
        return WindowButton;
    case ControlEdit:
        return WindowEdit;
    case ControlStatic:
        return WindowStatic;
    case ControlListBox:
        return WindowListBox;
    }
    return WindowStatic;
}

char MnemonicOf(const std::string& text)
{
    const std::size_t ampersand = text.find('&');
    if (ampersand == std::string::npos || ampersand + 1 >= text.size()) {
        return 0;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(text[ampersand + 1])));
}

HWND CreateDialogFromTemplate(HMODULE module, const DialogResource& dialog, HWND parent,
                              CWnd* object, const ObjectProcedures& procedures)
{
    HWND window = CreateWindowRecord(WindowDialog, dialog.caption, dialog.style, 0, dialog.x,
                                     dialog.y, dialog.cx, dialog.cy, parent);
    AttachObject(window, object, procedures);
    for (const DialogItem& item : dialog.items) {
        HWND control = CreateWindowRecord(WindowClassOf(item.controlClass), item.text, item.style,
                                          item.id, item.x, item.y, item.cx, item.cy, window);
        control->icon = item.iconId != 0 ? FindIcon(module, item.iconId) : nullptr;
    }
    if (SendMessageA(window, WM_INITDIALOG, 0, 0) != FALSE) {
        SetFocus(GetNextDlgTabItem(window, nullptr, FALSE));
    }
    return window;
}

BOOL IsDialogMessageA(HWND dialog, MSG* message)
{
    if (!IsWindow(dialog) || !IsWithin(message->hwnd, dialog)) {
        return FALSE;
    }
    const bool handled =
        (message->message == WM_KEYDOWN && HandleNavigationKey(dialog, message->wParam));
    if (message->message == WM_SYSCHAR) {
        FollowMnemonic(dialog, static_cast<char>(message->wParam));
    } else if (!handled) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
    return TRUE;
}
