#include "platform/ui/afxwin.h"
#include "platform/ui/window_record.h"

namespace {

const DialogResource* FindDialogAlongChain(UINT templateId, HMODULE& module)
{
    for (HMODULE candidate : AfxResourceSearchOrder()) {
        if (const DialogResource* dialog = FindDialog(candidate, templateId)) {
            module = candidate;
            return dialog;
        }
    }
    return nullptr;
}

const AFX_MSGMAP_ENTRY dialogMessageEntries[] = {
    InitDialogEntry<&CDialog::OnInitDialog>(),
    CommandEntry<&CDialog::OnOK>(IDOK),
    CommandEntry<&CDialog::OnCancel>(IDCANCEL),
};

}  // namespace

const AFX_MSGMAP CDialog::messageMap = {&CWnd::messageMap, RowsOf(dialogMessageEntries)};

CDialog::CDialog() = default;

CDialog::~CDialog() = default;

const AFX_MSGMAP* CDialog::GetMessageMap() const
{
    return &messageMap;
}

BOOL CDialog::PreTranslateMessage(MSG* message)
{
    if (CWnd::PreTranslateMessage(message)) {
        return TRUE;
    }
    const bool keyboard = message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST;
    return keyboard ? IsDialogMessageA(m_hWnd, message) : FALSE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) {
        EndModalLoop(IDOK);
    }
}

void CDialog::OnCancel()
{
    EndModalLoop(IDCANCEL);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    HMODULE module = nullptr;
    const DialogResource* dialog = FindDialogAlongChain(templateId, module);
    if (dialog == nullptr) {
        return FALSE;
    }
    HWND parentWindow = parent != nullptr ? parent->m_hWnd : nullptr;
    return CreateDialogFromTemplate(module, *dialog, parentWindow, this, kWindowObjectProcedures) != nullptr;
}
