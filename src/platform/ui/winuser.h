// The user-interface slice of the Win32 API: windows, messages, keyboard, accelerators,
// string resources, message boxes and the tooltip notifications of the common controls.
#ifndef TAGSTRIP_PLATFORM_UI_WINUSER_H
#define TAGSTRIP_PLATFORM_UI_WINUSER_H

#include <cstdint>

#include "platform/kernel/resource_script.h"
#include "platform/kernel/windows.h"

// A window handle names a window of the window manager; it stays opaque to callers.
struct WindowRecord;
typedef WindowRecord* HWND;
typedef const AcceleratorResource* HACCEL;
typedef std::uintptr_t UINT_PTR;

#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id))))
#define IS_INTRESOURCE(name) ((reinterpret_cast<std::uintptr_t>(name) >> 16) == 0)
#define MAKEWPARAM(low, high) (static_cast<WPARAM>((static_cast<DWORD>(high) << 16) | static_cast<WORD>(low)))

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

struct TOOLTIPTEXTA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

struct TOOLTIPTEXTW {
    NMHDR hdr;
    WCHAR* lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

// Messages.
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_NEXTDLGCTL 0x0028
#define WM_NOTIFY 0x004E
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define EM_SETSEL 0x00B1
#define LB_ADDSTRING 0x0180

// Virtual keys.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28

// Accelerator flags.
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FALT 0x10

// Window, dialog and control styles.
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_BORDER 0x00800000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define DS_SETFONT 0x40u
#define BS_PUSHBUTTON 0x0u
#define BS_DEFPUSHBUTTON 0x1u
#define BS_AUTOCHECKBOX 0x3u
#define BS_TYPEMASK 0xFu
#define ES_LEFT 0x0u
#define ES_AUTOHSCROLL 0x80u
#define ES_NUMBER 0x2000u
#define SS_LEFT 0x0u
#define SS_ICON 0x3u
#define SS_TYPEMASK 0x1Fu
#define LBS_NOTIFY 0x1u

#define SW_HIDE 0
#define SW_SHOW 5

#define BN_CLICKED 0

#define BST_UNCHECKED 0
#define BST_CHECKED 1

// Dialog command ids and message-box types and results.
#define IDOK 1
#define IDCANCEL 2
#define MB_OK 0x0u
#define MB_ICONEXCLAMATION 0x30u

// Tooltip notifications.
#define TTN_FIRST (0u - 520u)
#define TTN_NEEDTEXTA (TTN_FIRST - 0u)
#define TTN_NEEDTEXTW (TTN_FIRST - 10u)
#define TTF_IDISHWND 0x0001u

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND window);
BOOL DestroyWindow(HWND window);
HWND GetParent(HWND window);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
HWND GetFocus();
HWND SetFocus(HWND window);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
int GetWindowTextA(HWND window, LPSTR text, int maxCount);
BOOL SetWindowTextA(HWND window, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL ShowWindow(HWND window, int command);
// Positions and sizes are in dialog units of the parent's client area.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL IsWindowVisible(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The keyboard and the message queue.
short GetKeyState(int virtualKey);
BOOL IsDialogMessageA(HWND dialog, MSG* message);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the next posted message off the queue; false when the queue is empty.
BOOL PeekMessageA(MSG* message);

// Resources, looked up in the module named and nowhere else.
int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int bufferMax);
HACCEL LoadAcceleratorsA(HINSTANCE module, LPCSTR tableName);
int TranslateAcceleratorA(HWND window, HACCEL table, MSG* message);

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

#endif
