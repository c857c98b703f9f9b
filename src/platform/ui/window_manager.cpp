// The window manager: window records, the window tree, focus, the posted-message queue
// and the default procedures of the predefined control classes. Everything runs on the
// user-interface thread, so nothing here is locked.
#include <algorithm>
#include <cstring>
#include <deque>
#include <set>

#include "platform/ui/window_record.h"

namespace {

std::set<HWND> liveWindows;
std::vector<HWND> topLevelWindows;
std::deque<MSG> postedMessages;
HWND focusWindow = nullptr;

HWND Valid(HWND window)
{
    return liveWindows.count(window) != 0 ? window : nullptr;
}

std::vector<HWND>& SiblingsOf(HWND window)
{
    return window->parent != nullptr ? window->parent->children : topLevelWindows;
}

void NotifyParent(HWND control, WORD code)
{
    if (control->parent != nullptr) {
        SendMessageA(control->parent, WM_COMMAND, MAKEWPARAM(control->id, code),
                     reinterpret_cast<LPARAM>(control));
    }
}

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    char* target = reinterpret_cast<char*>(buffer);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
    return static_cast<LRESULT>(length);
}

LRESULT TextMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        window->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT:
        return CopyText(window->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    default:
        return 0;
    }
}

bool IsCheckBox(HWND window)
{
    return window->windowClass == WindowButton && (window->style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
}

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BM_GETCHECK:
        return window->check;
    case BM_SETCHECK:
        window->check = static_cast<int>(wParam);
        return 0;
    case BM_CLICK:
        if (IsCheckBox(window)) {
            window->check = window->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        }
        NotifyParent(window, BN_CLICKED);
        return 0;
    case WM_CHAR:
        if (wParam == ' ') {
            SendMessageA(window, BM_CLICK, 0, 0);
        }
        return 0;
    default:
        return TextMessage(window, message, wParam, lParam);
    }
}

void TypeIntoEdit(HWND edit, char character)
{
    if (character == '\b') {
        if (edit->textSelected) {
            edit->text.clear();
        } else if (!edit->text.empty()) {
            edit->text.pop_back();
        }
    } else if ((edit->style & ES_NUMBER) == 0 || (character >= '0' && character <= '9')) {
        if (edit->textSelected) {
            edit->text.clear();
        }
        edit->text += character;
    } else {
        return;
    }
    edit->textSelected = false;
}

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        TypeIntoEdit(window, static_cast<char>(wParam));
        return 0;
    case EM_SETSEL:
        window->textSelected = wParam == 0 && lParam == -1;
        return 0;
    case WM_SETTEXT:
        window->textSelected = false;
        [[fallthrough]];
    default:
        return TextMessage(window, message, wParam, lParam);
    }
}

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != LB_ADDSTRING) {
        return TextMessage(window, message, wParam, lParam);
    }
    window->items.emplace_back(reinterpret_cast<const char*>(lParam));
    if (window->selection < 0) {
        window->selection = 0;
    }
    return static_cast<LRESULT>(window->items.size() - 1);
}

// The dialog's default procedure: WM_NEXTDLGCTL moves the focus to the window given
// (lParam TRUE) or to the next or previous tab stop (lParam FALSE).
LRESULT DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_NEXTDLGCTL) {
        return TextMessage(dialog, message, wParam, lParam);
    }
    HWND target = lParam != FALSE ? reinterpret_cast<HWND>(wParam)
                                  : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
    if (Valid(target) != nullptr) {
        SetFocus(target);
        SendMessageA(target, EM_SETSEL, 0, -1);
    }
    return 0;
}

bool IsTabStop(HWND window)
{
    const DWORD required = WS_TABSTOP | WS_VISIBLE;
    return (window->style & required) == required && (window->style & WS_DISABLED) == 0;
}

void ForgetWindow(HWND window)
{
    if (focusWindow == window) {
        focusWindow = nullptr;
    }
    liveWindows.erase(window);
    auto& siblings = SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
}

}  // namespace

HWND CreateWindowRecord(WindowClass windowClass, const char* text, DWORD style, int id,
                        int x, int y, int cx, int cy, HWND parent)
{
    HWND window = new WindowRecord{windowClass, style, id, text != nullptr ? text : "",
                                   x, y, cx, cy, parent, {}, nullptr, nullptr,
                                   BST_UNCHECKED, false, nullptr, {}, -1};
    liveWindows.insert(window);
    SiblingsOf(window).push_back(window);
    return window;
}

void AttachObject(HWND window, CWnd* object, const ObjectProcedures& procedures)
{
    window->object = object;
    window->procedures = &procedures;
    procedures.attached(object, window);
}

const std::vector<HWND>& TopLevelWindows()
{
    return topLevelWindows;
}

HWND ActiveWindow()
{
    return topLevelWindows.empty() ? nullptr : topLevelWindows.back();
}

BOOL IsWindow(HWND window)
{
    return Valid(window) != nullptr;
}

BOOL DestroyWindow(HWND window)
{
    if (Valid(window) == nullptr) {
        return FALSE;
    }
    while (!window->children.empty()) {
        DestroyWindow(window->children.back());
    }
    ForgetWindow(window);
    if (window->object != nullptr) {
        window->procedures->detached(window->object);
    }
    delete window;
    return TRUE;
}

HWND GetParent(HWND window)
{
    return Valid(window) != nullptr ? window->parent : nullptr;
}

HWND GetDlgItem(HWND dialog, int id)
{
    if (Valid(dialog) == nullptr) {
        return nullptr;
    }
    for (HWND child : dialog->children) {
        if (child->id == id) {
            return child;
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window)
{
    return Valid(window) != nullptr ? window->id : 0;
}

HWND GetFocus()
{
    return focusWindow;
}

HWND SetFocus(HWND window)
{
    HWND previous = focusWindow;
    focusWindow = Valid(window);
    return previous;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    if (Valid(dialog) == nullptr) {
        return nullptr;
    }
    std::vector<HWND> order = dialog->children;
    if (previous) {
        std::reverse(order.begin(), order.end());
    }
    const auto start = std::find(order.begin(), order.end(), control);
    const std::size_t first = start == order.end() ? 0 : (start - order.begin()) + 1;
    for (std::size_t step = 0; step < order.size(); ++step) {
        HWND candidate = order[(first + step) % order.size()];
        if (IsTabStop(candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

int GetWindowTextA(HWND window, LPSTR text, int maxCount)
{
    if (Valid(window) == nullptr || maxCount <= 0) {
        return 0;
    }
    return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    if (Valid(window) == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        if (maxCount > 0) {
            text[0] = '\0';
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(control, text, maxCount));
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    return button != nullptr ? static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) {
        return FALSE;
    }
    SendMessageA(button, BM_SETCHECK, check, 0);
    return TRUE;
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    if (Valid(window) == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    window->style = enable ? window->style & ~WS_DISABLED : window->style | WS_DISABLED;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window)
{
    return Valid(window) != nullptr && (window->style & WS_DISABLED) == 0;
}

BOOL ShowWindow(HWND window, int command)
{
    if (Valid(window) == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    window->style = command == SW_HIDE ? window->style & ~WS_VISIBLE : window->style | WS_VISIBLE;
    return wasVisible;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL)
{
    if (Valid(window) == nullptr) {
        return FALSE;
    }
    window->x = x;
    window->y = y;
    window->cx = width;
    window->cy = height;
    return TRUE;
}

BOOL IsWindowVisible(HWND window)
{
    return Valid(window) != nullptr && (window->style & WS_VISIBLE) != 0;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Valid(window) == nullptr) {
        return 0;
    }
    if (window->object != nullptr) {
        return window->procedures->windowProc(window->object, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Valid(window) == nullptr) {
        return 0;
    }
    switch (window->windowClass) {
    case WindowDialog:
        return DialogProc(window, message, wParam, lParam);
    case WindowButton:
        return ButtonProc(window, message, wParam, lParam);
    case WindowEdit:
        return EditProc(window, message, wParam, lParam);
    case WindowStatic:
        return TextMessage(window, message, wParam, lParam);
    case WindowListBox:
        return ListBoxProc(window, message, wParam, lParam);
    }
    return 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    postedMessages.push_back(MSG{window, message, wParam, lParam});
    return TRUE;
}

BOOL PeekMessageA(MSG* message)
{
    if (postedMessages.empty()) {
        return FALSE;
    }
    *message = postedMessages.front();
    postedMessages.pop_front();
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* message)
{
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}
