// The window manager's own record of a window, behind the opaque HWND. Only the platform
// layer and its front ends look inside.
#ifndef TAGSTRIP_PLATFORM_UI_WINDOW_RECORD_H
#define TAGSTRIP_PLATFORM_UI_WINDOW_RECORD_H

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/winuser.h"

class CWnd;

// How the window manager reaches the framework object attached to a window, as a window
// class's procedure is reached on Windows: through the pointers the framework hands over
// when it attaches the object, so that the manager never calls into the framework by name.
struct ObjectProcedures {
    void (*attached)(CWnd* object, HWND window);
    LRESULT (*windowProc)(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL (*preTranslateMessage)(CWnd* object, MSG* message);
    void (*detached)(CWnd* object);  // its window is destroyed
};

enum WindowClass {
    WindowDialog,
    WindowButton,
    WindowEdit,
    WindowStatic,
    WindowListBox
};

struct WindowRecord {
    WindowClass windowClass;
    DWORD style;
    int id;
    std::string text;
    int x, y, cx, cy;               // dialog units, relative to the parent's client area
    HWND parent;
    std::vector<HWND> children;     // in template order, which is the tab order
    CWnd* object;                   // the framework object attached, if any
    const ObjectProcedures* procedures;  // set with object
    int check;
    bool textSelected;              // an edit's whole text, selected on entry by keyboard
    const IconResource* icon;
    std::vector<std::string> items;
    int selection;
};

WindowClass WindowClassOf(ControlClass controlClass);

// Creates a window as the last child of parent (or a top-level window for null).
HWND CreateWindowRecord(WindowClass windowClass, const char* text, DWORD style, int id,
                        int x, int y, int cx, int cy, HWND parent);

// Attaches object to window; its messages then go through procedures.
void AttachObject(HWND window, CWnd* object, const ObjectProcedures& procedures);

// Creates a dialog and its controls from a template found in module, attaches object to
// it and sends WM_INITDIALOG.
HWND CreateDialogFromTemplate(HMODULE module, const DialogResource& dialog, HWND parent,
                              CWnd* object, const ObjectProcedures& procedures);

// The top-level windows, oldest first; the newest one takes keys when nothing has focus.
const std::vector<HWND>& TopLevelWindows();
HWND ActiveWindow();

// A module's resources of each kind, by id; null when the module has none with that id.
const DialogResource* FindDialog(HMODULE module, UINT id);
const StringResource* FindString(HMODULE module, UINT id);
const IconResource* FindIcon(HMODULE module, UINT id);

// The letter after '&' in a label, lower case; 0 when there is none.
char MnemonicOf(const std::string& text);

#endif
