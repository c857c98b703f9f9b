#include "cli/settings_window.h"

#include <iterator>

#include "page/analyzer_page.h"
#include "platform/kernel/resource_registry.h"

namespace {

constexpr UINT kSettingsTemplate = 100;
constexpr int kPageX = 48;
constexpr int kPageWidth = 200;
constexpr int kPageHeight = 200;
constexpr int kPageStop = 0;

// The host's tab stops around the page, which stands in its place as one stop.
const int kTabStops[] = {kAnalyzerList, kPageStop, IDOK, IDCANCEL};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

const DialogItem kSettingsItems[] = {
    {kAnalyzerList, ControlListBox, "", 0, kButton | WS_BORDER | LBS_NOTIFY, 4, 8, 40, 40},
    {IDOK, ControlButton, "OK", 0, kButton | BS_DEFPUSHBUTTON, 4, 160, 40, 14},
    {IDCANCEL, ControlButton, "Cancel", 0, kButton | BS_PUSHBUTTON, 4, 176, 40, 14},
};

const DialogResource kSettingsDialogs[] = {
    {kSettingsTemplate, WS_VISIBLE | DS_SETFONT, 0, 0, 252, 200, 8, "MS Sans Serif",
     "Tagstrip settings", RowsOf(kSettingsItems)},
};

// The host program's own resources, under the executable's null module handle.
const ResourceScript kHostResources = {
    "tagstrip", {nullptr, 0}, RowsOf(kSettingsDialogs), {nullptr, 0}, {nullptr, 0}, nullptr,
};

int StopIndex(int id)
{
    for (std::size_t index = 0; index < std::size(kTabStops); ++index) {
        if (kTabStops[index] == id) {
            return static_cast<int>(index);
        }
    }
    return 0;
}

}  // namespace

SettingsWindow::SettingsWindow()
{
    RegisterModuleResources(nullptr, &kHostResources);
    Create(kSettingsTemplate);
}

SettingsWindow::~SettingsWindow()
{
    DestroyWindow();
}

BOOL SettingsWindow::PreTranslateMessage(MSG* message)
{
    HWND focus = GetFocus();
    const bool hostControl = focus != nullptr && ::GetParent(focus) == m_hWnd;
    if (hostControl && message->message == WM_KEYDOWN && message->wParam == VK_TAB) {
        if (CWnd* next = NextStop(::GetDlgCtrlID(focus), GetKeyState(VK_SHIFT) < 0)) {
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next->m_hWnd), TRUE);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(message);
}

void SettingsWindow::OnOK()
{
    if (Page() != nullptr && Page()->Validate() != 0) {
        return;
    }
    if (Page() != nullptr) {
        Page()->Save();
    }
    EndModalLoop(IDOK);
}

void SettingsWindow::OnCancel()
{
    EndModalLoop(IDCANCEL);
}

void SettingsWindow::SetPage(CDialog* newPage)
{
    page.reset(newPage);
    if (page != nullptr && page->m_hWnd != nullptr) {
        MoveWindow(page->m_hWnd, kPageX, 0, kPageWidth, kPageHeight, TRUE);
        page->EnableWindow(TRUE);
        page->ShowWindow(SW_SHOW);
    }
}

CDialog* SettingsWindow::GetPage() const
{
    return page.get();
}

CWnd* SettingsWindow::GetControlBeforePage()
{
    return GetDlgItem(kAnalyzerList);
}

CWnd* SettingsWindow::GetControlAfterPage()
{
    return GetDlgItem(IDOK);
}

void SettingsWindow::AddAnalyzer(const char* name)
{
    GetDlgItem(kAnalyzerList)->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

// The host knows the page by the position of its operations, as AnalyzerPage lays them out.
AnalyzerPage* SettingsWindow::Page() const
{
    return static_cast<AnalyzerPage*>(page.get());
}

CWnd* SettingsWindow::NextStop(int fromId, bool backwards) const
{
    const int count = static_cast<int>(std::size(kTabStops));
    const int step = backwards ? count - 1 : 1;
    for (int index = (StopIndex(fromId) + step) % count;; index = (index + step) % count) {
        if (kTabStops[index] != kPageStop) {
            return GetDlgItem(kTabStops[index]);
        }
        CWnd* pageEdge = Page() == nullptr ? nullptr
                         : backwards       ? Page()->GetLastControl()
                                           : Page()->GetFirstControl();
        if (pageEdge != nullptr) {
            return pageEdge;
        }
    }
}
