#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/ui/afxwin.h"

namespace {

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

}  // namespace

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
