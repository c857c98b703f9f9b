// The dialog framework's window classes, shared by the host and the plug-in: both call
// each other's virtual operations by position, so both must see this one definition.
//
// A CWnd is attached to a window of the window manager (m_hWnd). Messages reach it through
// WindowProc, which looks the message up in the message maps of the class and its bases
// (static tables, most derived first) and otherwise falls back on the window's default
// procedure. Keyboard messages pass PreTranslateMessage of the window and its parents first.
#ifndef TAGSTRIP_PLATFORM_UI_AFXWIN_H
#define TAGSTRIP_PLATFORM_UI_AFXWIN_H

#include <cstddef>

#include "platform/ui/afx_module.h"
#include "platform/ui/afx_msgmap.h"
#include "platform/kernel/windows.h"
#include "platform/ui/winuser.h"
#include "tagstrip/host_api.h"

class CDataExchange;
struct ObjectProcedures;

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    virtual BOOL PreTranslateMessage(MSG* message);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* exchange);
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy();

    // The object attached to a window; controls get a permanent object on first use.
    static CWnd* FromHandle(HWND window);

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* SetFocus();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void GetWindowText(CString& text) const;
    void SetWindowText(const char* text);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL ShowWindow(int command);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    BOOL EnableToolTips(BOOL enable = TRUE);
    BOOL ToolTipsEnabled() const;

    // Hands the front end's keys to this window until EndModalLoop or its destruction.
    int RunModalLoop();
    void EndModalLoop(int result);

    static const AFX_MSGMAP messageMap;

    HWND m_hWnd;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    BOOL toolTipsEnabled;
    BOOL modalLoopRunning;
    int modalResult;
};

class CDialog : public CWnd {
public:
    CDialog();
    ~CDialog() override;
    const AFX_MSGMAP* GetMessageMap() const override;
    BOOL PreTranslateMessage(MSG* message) override;
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Creates the dialog window from template templateId, found in the current resource
    // module or else along the resource chain, as a child or top-level window of parent.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);

    static const AFX_MSGMAP messageMap;
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    HWND PrepareCtrl(int id);
    // Ends the exchange: later DDX calls do nothing and UpdateData reports failure.
    void Fail();
    bool Failed() const;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    bool failed;
};

// The procedures through which the window manager reaches an attached CWnd.
extern const ObjectProcedures kWindowObjectProcedures;

void DDX_Check(CDataExchange* exchange, int id, int& value);
void DDX_Text(CDataExchange* exchange, int id, int& value);

// Message boxes. The id form loads its text from the current resource module, then the
// resource chain; it shows nothing and returns 0 when neither holds the string.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

#endif
