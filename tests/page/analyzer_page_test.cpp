#include "page/analyzer_page.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/front_end.h"
#include "plugin/current_instance.h"
#include "resources/resource.h"
#include "tests/page/page_fixture.h"

namespace {

using KeyboardTest = PageTest;

struct EdgeRow {
    bool namesNeighbours;
    int from;
    bool shift;
    int to;
};

TEST_F(KeyboardTest, TabLeavesThePageAtItsEdgesOrWraps)
{
    const EdgeRow rows[] = {
        {true, IDC_REMOVE_READ_RECEIPTS, false, kControlAfterPage},
        {false, IDC_REMOVE_READ_RECEIPTS, false, IDC_ACTIVE},
        {true, IDC_ACTIVE, true, kControlBeforePage},
        {false, IDC_ACTIVE, true, IDC_REMOVE_READ_RECEIPTS},
    };
    for (const EdgeRow& row : rows) {
        OpenPage(row.namesNeighbours);
        Focus(row.from);
        frontEnd.Press(VK_TAB, row.shift);
        EXPECT_EQ(FocusId(), row.to) << row.from << (row.shift ? " shift" : "");
    }
}

TEST_F(KeyboardTest, TabVisitsTheControlsInTemplateOrder)
{
    const int order[] = {IDC_POINTS_SCRIPT,        IDC_REMOVE_SCRIPT,       IDC_POINTS_FORMATTING,
                         IDC_REMOVE_FORMATTING,    IDC_POINTS_LINKS,        IDC_REMOVE_LINKS,
                         IDC_POINTS_IMAGES_EXT,    IDC_REMOVE_IMAGES_EXT,   IDC_POINTS_IMAGES_INT,
                         IDC_REMOVE_IMAGES_INT,    IDC_POINTS_EXTERNAL_REFS, IDC_REMOVE_EXTERNAL_REFS,
                         IDC_POINTS_WEB_BUGS,      IDC_REMOVE_WEB_BUGS,     IDC_POINTS_READ_RECEIPTS,
                         IDC_REMOVE_READ_RECEIPTS, kControlAfterPage};
    OpenPage();
    Focus(IDC_ACTIVE);
    for (int id : order) {
        frontEnd.Press(VK_TAB);
        EXPECT_EQ(FocusId(), id);
    }
}

TEST_F(KeyboardTest, EscapeCancelsTheContainerAndEnterConfirmsIt)
{
    OpenPage();
    Focus(IDC_POINTS_LINKS);
    frontEnd.Press(VK_ESCAPE);
    EXPECT_EQ(container->cancelCount, 1);
    frontEnd.Press(VK_RETURN);
    EXPECT_EQ(container->okCount, 1);
}

// Records the commands that reach the page, to tell the accelerator table's commands from
// the dialog manager's IDOK.
class CommandRecordingPage : public ConfigPage {
public:
    using ConfigPage::ConfigPage;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            commands.push_back(LOWORD(wParam));
        }
        return ConfigPage::WindowProc(message, wParam, lParam);
    }
    std::vector<int> commands;
};

struct CommandRow {
    UINT key;
    bool shift;
    int command;
};

TEST_F(KeyboardTest, KeysReachTheAcceleratorCommandsExceptEnter)
{
    const CommandRow rows[] = {
        {VK_ESCAPE, false, ID_ESCAPE_COMMAND},
        {VK_TAB, false, ID_NEXT_CONTROL},
        {VK_TAB, true, ID_PREVIOUS_CONTROL},
        {VK_RETURN, false, IDOK},
    };
    container = std::make_unique<TestContainer>(true);
    CommandRecordingPage recording(container.get());
    {
        AfxResourceModuleSwitch pluginResources(ModuleHandle());
        ASSERT_TRUE(recording.Create(IDD_CONFIG_PAGE, container.get()));
    }
    for (const CommandRow& row : rows) {
        recording.commands.clear();
        recording.GetDlgItem(IDC_POINTS_LINKS)->SetFocus();
        frontEnd.Press(row.key, row.shift);
        EXPECT_EQ(recording.commands, std::vector<int>{row.command}) << row.key;
    }
}

TEST_F(KeyboardTest, TypingReplacesTheFieldEnteredByTabAndTakesDigitsOnly)
{
    OpenPage();
    Focus(IDC_ACTIVE);
    frontEnd.Press(VK_TAB);
    frontEnd.Type("12x3");
    frontEnd.Press(VK_BACK);
    frontEnd.Type("4");
    char text[16];
    GetDlgItemTextA(page->m_hWnd, IDC_POINTS_SCRIPT, text, sizeof text);
    EXPECT_STREQ(text, "124");
}

using ToolTipTest = PageTest;

struct ToolTipRow {
    int id;
    const char* text;
};

const ToolTipRow kToolTips[] = {
    {12001, "Choose whether this analyzer is active."},
    {12004, "Points to add to spam score for having script in the e-mail."},
    {12005, "Points to add to spam score for having HMTL formatting in the e-mail."},
    {12006, "Points to add to spam score for having links in the e-mail."},
    {12008, "Remove potentially dangerous HTML script from every e-mail.  On by default."},
    {12009, "Removes HTML formatting except links and images."},
    {12010, "Removes links (Anchor tags) from e-mail."},
    {12012, "Remove inline images from e-mail.  Less dangerous image type.  Frequently spam."},
    {12013, "Points to add to spam score for having inline images in the e-mail."},
    {12014, "Remove image references from e-mail, and eliminates potential web bugs."},
    {12015, "Points to add to spam score for having external images in the e-mail."},
    {12016, "Points to add to spam score for having references to external web sites."},
    {12017, "Remove HTML references to external web sites."},
    {12018, "Points to add to spam score for having web bugs in the e-mail."},
    {12019, "Remove IMG tags that notify spammers that you viewed your e-mail."},
    {12020, "Points to add to spam score for read receipts in the e-mail."},
    {12021, "Remove Header tag which notifies others that you viewed the e-mail."},
};

TEST_F(ToolTipTest, EveryControlHasItsTextInBothLayouts)
{
    OpenPage();
    for (const ToolTipRow& row : kToolTips) {
        HWND control = GetDlgItem(page->m_hWnd, row.id);
        EXPECT_STREQ(ToolTipText(control, TTN_NEEDTEXTA), row.text) << row.id;
        EXPECT_STREQ(ToolTipText(control, TTN_NEEDTEXTW), row.text) << row.id;
    }
}

TEST_F(ToolTipTest, AnIdWithoutAStringNamesTheIdAndIdZeroGivesNoText)
{
    OpenPage();
    TOOLTIPTEXTA ansi{};
    ansi.hdr = NMHDR{nullptr, 12345, TTN_NEEDTEXTA};
    page->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
    EXPECT_STREQ(ansi.szText, "Control ID = 12345");

    TOOLTIPTEXTW wide{};
    wide.hdr = NMHDR{nullptr, 0, TTN_NEEDTEXTW};
    wide.szText[0] = L'x';
    page->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(wide.szText[0], L'\0');

    EXPECT_STREQ(ToolTipText(GetDlgItem(page->m_hWnd, IDC_STATIC)), "Control ID = -1");
}

}  // namespace
