#include "host/settings_window.h"

#include <gtest/gtest.h>

#include "plugin/entry_points.h"
#include "resources/resource.h"
#include "tests/page/page_fixture.h"

namespace {

class SettingsWindowTest : public PageTest {
protected:
    void OpenWindow()
    {
        window = std::make_unique<SettingsWindow>();
        window->AddAnalyzer("Tagstrip");
        window->SetPage(GetAnalyzerConfigPage(instance, window.get()));
        window->GetControlBeforePage()->SetFocus();
    }
    HWND PageWindow() const { return window->GetPage()->m_hWnd; }

    std::unique_ptr<SettingsWindow> window;
};

struct StopRow {
    int from;
    bool shift;
    int to;
};

TEST_F(SettingsWindowTest, TabRunsAcrossThePageIntoTheHostsControlsAndRound)
{
    const StopRow rows[] = {
        {kAnalyzerList, false, IDC_ACTIVE},
        {IDC_REMOVE_READ_RECEIPTS, false, IDOK},
        {IDOK, false, IDCANCEL},
        {IDCANCEL, false, kAnalyzerList},
        {kAnalyzerList, true, IDCANCEL},
        {IDOK, true, IDC_REMOVE_READ_RECEIPTS},
        {IDC_ACTIVE, true, kAnalyzerList},
    };
    OpenWindow();
    for (const StopRow& row : rows) {
        HWND from = GetDlgItem(window->m_hWnd, row.from);
        SetFocus(from != nullptr ? from : GetDlgItem(PageWindow(), row.from));
        frontEnd.Press(VK_TAB, row.shift);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), row.to) << row.from << (row.shift ? " shift" : "");
    }
}

}  // namespace
