#include "page/analyzer_page.h"

#include <cstdlib>

#include "page/analyzer_container.h"

namespace {

constexpr int kRangeTextLength = 30;

CWnd* ControlAfter(CWnd* container)
{
    return static_cast<AnalyzerContainer*>(container)->GetControlAfterPage();
}

CWnd* ControlBefore(CWnd* container)
{
    return static_cast<AnalyzerContainer*>(container)->GetControlBeforePage();
}

bool IsKeyboardMessage(const MSG& message)
{
    return message.message >= WM_KEYDOWN && message.message <= WM_KEYLAST;
}

}  // namespace

AnalyzerPage::AnalyzerPage(CWnd* container)
    : container(container), accelerators(nullptr), firstControlId(0), lastControlId(0)
{
}

AnalyzerPage::~AnalyzerPage() = default;

void AnalyzerPage::DoDataExchange(CDataExchange*)
{
}

// Enter is left to the dialog manager, which turns it into IDOK.
BOOL AnalyzerPage::PreTranslateMessage(MSG* message)
{
    if (accelerators != nullptr && IsKeyboardMessage(*message) && message->wParam != VK_RETURN &&
        TranslateAcceleratorA(m_hWnd, accelerators, message)) {
        return TRUE;
    }
    return CDialog::PreTranslateMessage(message);
}

BOOL AnalyzerPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void AnalyzerPage::OnOK()
{
    if (container != nullptr) {
        static_cast<CDialog*>(container)->OnOK();
    }
}

void AnalyzerPage::OnCancel()
{
    if (container != nullptr) {
        static_cast<CDialog*>(container)->OnCancel();
    }
}

void AnalyzerPage::Reserved1()
{
}

int AnalyzerPage::Validate()
{
    return 0;
}

void AnalyzerPage::Reserved3()
{
}

void AnalyzerPage::Reserved4()
{
}

int AnalyzerPage::Save()
{
    return 0;
}

CWnd* AnalyzerPage::GetFirstControl()
{
    return ControlOrNull(firstControlId);
}

CWnd* AnalyzerPage::GetLastControl()
{
    return ControlOrNull(lastControlId);
}

void AnalyzerPage::SetKeyboard(HACCEL table, int firstId, int lastId)
{
    accelerators = table;
    firstControlId = firstId;
    lastControlId = lastId;
}

int AnalyzerPage::CheckRange(int controlId, UINT messageId, long low, long high)
{
    char text[kRangeTextLength + 1];
    GetDlgItemTextA(m_hWnd, controlId, text, sizeof text);
    // Read as atol reads a number, but in 64 bits and held at the nearest end beyond them:
    // where long has 32 bits, atol wraps around on overflow ("4294967396" reads as 100).
    const long long value = std::strtoll(text, nullptr, 10);
    if (low <= value && value <= high) {
        return 0;
    }
    AfxMessageBox(messageId, MB_OK, static_cast<UINT>(-1));
    return 1;
}

BOOL AnalyzerPage::OnNextControl(UINT)
{
    MoveFocus(lastControlId, &ControlAfter, FALSE);
    return TRUE;
}

BOOL AnalyzerPage::OnPreviousControl(UINT)
{
    MoveFocus(firstControlId, &ControlBefore, TRUE);
    return TRUE;
}

CWnd* AnalyzerPage::ControlOrNull(int id) const
{
    return id != 0 ? GetDlgItem(id) : nullptr;
}

void AnalyzerPage::MoveFocus(int edgeId, CWnd* (*hostControl)(CWnd*), BOOL previous)
{
    HWND focus = GetFocus();
    const int focusId = focus != nullptr ? ::GetDlgCtrlID(focus) : 0;
    if (focusId == edgeId && container != nullptr) {
        if (CWnd* target = hostControl(container)) {
            container->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target->m_hWnd), TRUE);
            return;
        }
    }
    if (HWND next = GetNextDlgTabItem(m_hWnd, focus, previous)) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
}
