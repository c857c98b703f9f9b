#include "platform/ui/afxwin.h"
#include "platform/ui/front_end.h"
#include "platform/ui/window_record.h"

namespace {

bool CommandCodeMatches(UINT message, UINT entryCode, UINT code)
{
    // Menus send code 0 and accelerators code 1; both reach the plain command entries.
    return entryCode == code || (message == WM_COMMAND && entryCode == 0 && code == 1);
}

struct Routing {
    UINT code;
    UINT id;
    NMHDR* header;
};

Routing RoutingOf(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        return {HIWORD(wParam), LOWORD(wParam), nullptr};
    }
    if (message == WM_NOTIFY) {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        return {header->code, static_cast<UINT>(GetDlgCtrlID(header->hwndFrom)), header};
    }
    return {0, 0, nullptr};
}

CWnd* ToolTipOwner(HWND control)
{
    HWND parent = GetParent(control);
    CWnd* owner = parent != nullptr ? parent->object : nullptr;
    return owner != nullptr && owner->ToolTipsEnabled() ? owner : nullptr;
}

void Attached(CWnd* object, HWND window)
{
    object->m_hWnd = window;
}

LRESULT ObjectWindowProc(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam)
{
    return object->WindowProc(message, wParam, lParam);
}

BOOL ObjectPreTranslateMessage(CWnd* object, MSG* message)
{
    return object->PreTranslateMessage(message);
}

void Detached(CWnd* object)
{
    object->m_hWnd = nullptr;
    object->PostNcDestroy();
}

// A control's object made by FromHandle lives as long as its window.
void PermanentObjectDetached(CWnd* object)
{
    object->m_hWnd = nullptr;
    delete object;
}

const ObjectProcedures kPermanentObjectProcedures = {
    Attached, ObjectWindowProc, ObjectPreTranslateMessage, PermanentObjectDetached};

template <class ToolTipText>
ToolTipText NeedTextNotification(HWND control, UINT code)
{
    ToolTipText notification{};
    notification.hdr = NMHDR{nullptr, reinterpret_cast<UINT_PTR>(control), code};
    notification.lpszText = notification.szText;
    notification.uFlags = TTF_IDISHWND;
    return notification;
}

CString NarrowText(const WCHAR* text)
{
    CString narrow;
    for (; *text != L'\0'; ++text) {
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

}  // namespace

const ObjectProcedures kWindowObjectProcedures = {
    Attached, ObjectWindowProc, ObjectPreTranslateMessage, Detached};

const AFX_MSGMAP CWnd::messageMap = {nullptr, {nullptr, 0}};

CWnd::CWnd() : m_hWnd(nullptr), toolTipsEnabled(FALSE), modalLoopRunning(FALSE), modalResult(0)
{
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        m_hWnd->object = nullptr;
        ::DestroyWindow(m_hWnd);
    }
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return &messageMap;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

BOOL CWnd::DestroyWindow()
{
    return ::DestroyWindow(m_hWnd);
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const Routing routing = RoutingOf(message, wParam, lParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr; map = map->baseMap) {
        for (const AFX_MSGMAP_ENTRY& entry : map->entries) {
            if (entry.message == message && CommandCodeMatches(message, entry.code, routing.code) &&
                routing.id >= entry.firstId && routing.id <= entry.lastId &&
                entry.call(this, routing.id, routing.header, result)) {
                return TRUE;
            }
        }
    }
    return FALSE;
}

CWnd* CWnd::FromHandle(HWND window)
{
    if (!IsWindow(window)) {
        return nullptr;
    }
    if (window->object == nullptr) {
        AttachObject(window, new CWnd(), kPermanentObjectProcedures);
    }
    return window->object;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::GetWindowText(CString& text) const
{
    text = IsWindow(m_hWnd) ? m_hWnd->text.c_str() : "";
}

void CWnd::SetWindowText(const char* text)
{
    ::SetWindowTextA(m_hWnd, text);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return exchange.Failed() ? FALSE : TRUE;
}

BOOL CWnd::EnableToolTips(BOOL enable)
{
    const BOOL previous = toolTipsEnabled;
    toolTipsEnabled = enable;
    return previous;
}

BOOL CWnd::ToolTipsEnabled() const
{
    return toolTipsEnabled;
}

int CWnd::RunModalLoop()
{
    modalLoopRunning = TRUE;
    KeyPress key{};
    while (modalLoopRunning && IsWindow(m_hWnd) && CurrentFrontEnd() != nullptr &&
           CurrentFrontEnd()->NextKey(key)) {
        PressKey(key);
    }
    modalLoopRunning = FALSE;
    return modalResult;
}

void CWnd::EndModalLoop(int result)
{
    modalResult = result;
    modalLoopRunning = FALSE;
}

CString ToolTipText(HWND control, UINT code)
{
    CWnd* owner = ToolTipOwner(control);
    if (owner == nullptr) {
        return CString();
    }
    if (code == TTN_NEEDTEXTW) {
        TOOLTIPTEXTW wide = NeedTextNotification<TOOLTIPTEXTW>(control, code);
        owner->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
        return NarrowText(wide.lpszText);
    }
    TOOLTIPTEXTA ansi = NeedTextNotification<TOOLTIPTEXTA>(control, code);
    owner->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
    return CString(ansi.lpszText);
}
