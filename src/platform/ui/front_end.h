// What the window manager needs from whatever shows its windows and reads the keyboard:
// the headless front end of the tests or the terminal one.
#ifndef TAGSTRIP_PLATFORM_UI_FRONT_END_H
#define TAGSTRIP_PLATFORM_UI_FRONT_END_H

#include "platform/ui/winuser.h"
#include "tagstrip/host_api.h"

struct KeyPress {
    UINT virtualKey;
    bool shift;
    bool alt;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // Waits for the next key; false when there will be none.
    virtual bool NextKey(KeyPress& key) = 0;
    // Shows a modal message box and returns the button chosen (IDOK, IDCANCEL).
    virtual int ShowMessageBox(const char* text, const char* caption, UINT type) = 0;
};

// The front end in use; null until one is installed, and then message boxes show nothing.
FrontEnd* CurrentFrontEnd();
void SetFrontEnd(FrontEnd* frontEnd);

// Delivers one key to the window with the focus, as the message loop does: the key-down
// message passes PreTranslateMessage of the focus window and its parents, then is
// translated and dispatched, and the characters it produces follow.
void PressKey(const KeyPress& key);

// The text the tooltip of a control shows: its parent dialog, when tooltips are enabled
// there, answers a TTN_NEEDTEXTA or TTN_NEEDTEXTW notification for the control's window.
CString ToolTipText(HWND control, UINT code = TTN_NEEDTEXTA);

#endif
