#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

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

// A whole decimal int: optional white space and sign, digits, optional white space.
bool ParseInt(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || parsed < std::numeric_limits<int>::min() ||
        parsed > std::numeric_limits<int>::max()) {
        return false;
    }
    while (*end == ' ' || *end == '\t') {
        ++end;
    }
    if (*end != '\0') {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
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
    return CreateDialogFromTemplate(module, *dialog, parentWindow, this) != nullptr;
}

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog), failed(false)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
}

void CDataExchange::Fail()
{
    failed = true;
}

bool CDataExchange::Failed() const
{
    return failed;
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
    HWND control = exchange->PrepareCtrl(id);
    if (exchange->Failed() || control == nullptr) {
        return;
    }
    if (exchange->m_bSaveAndValidate) {
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Text(CDataExchange* exchange, int id, int& value)
{
    HWND control = exchange->PrepareCtrl(id);
    if (exchange->Failed() || control == nullptr) {
        return;
    }
    if (!exchange->m_bSaveAndValidate) {
        char text[32];
        std::snprintf(text, sizeof text, "%d", value);
        SetWindowTextA(control, text);
        return;
    }
    char text[64];
    GetWindowTextA(control, text, sizeof text);
    if (!ParseInt(text, value)) {
        AfxMessageBox("Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(control);
        exchange->Fail();
    }
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '/');
    return MessageBoxA(nullptr, text, name != nullptr ? name + 1 : path, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    for (HMODULE module : AfxResourceSearchOrder()) {
        if (const StringResource* prompt = FindString(module, promptId)) {
            return AfxMessageBox(prompt->text, type, helpId);
        }
    }
    return 0;
}
