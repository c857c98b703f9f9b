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

TEST_F(SettingsWindowTest, OkSavesOnlyWhenThePageIsValid)
{
    OpenWindow();
    SetDlgItemTextA(PageWindow(), IDC_POINTS_LINKS, "100000");
    frontEnd.Queue(VK_RETURN);
    EXPECT_EQ(window->RunModalLoop(), 0);
    EXPECT_EQ(frontEnd.MessageBoxes(),
              std::vector<std::string>{"Remove Links points must be between 0 and 99,999."});
    EXPECT_EQ(instance->ReadInt("Settings", "PointsLinks", -1), -1);

    SetDlgItemTextA(PageWindow(), IDC_POINTS_LINKS, "99999");
    frontEnd.Queue(VK_RETURN);
    EXPECT_EQ(window->RunModalLoop(), IDOK);
    EXPECT_EQ(instance->ReadInt("Settings", "PointsLinks", -1), 99999);
}

TEST_F(SettingsWindowTest, EscapeOnThePageClosesWithoutSaving)
{
    OpenWindow();
    SetFocus(GetDlgItem(PageWindow(), IDC_POINTS_SCRIPT));
    frontEnd.Type("7");
    frontEnd.Queue(VK_ESCAPE);
    EXPECT_EQ(window->RunModalLoop(), IDCANCEL);
    EXPECT_EQ(instance->ReadInt("Settings", "PointsScript", -1), -1);
}

}  // namespace
