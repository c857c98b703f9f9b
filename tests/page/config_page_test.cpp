#include "page/config_page.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/current_instance.h"
#include "plugin/entry_points.h"
#include "resources/resource.h"
#include "tests/page/page_fixture.h"

namespace {

const int kRemoveIds[] = {IDC_REMOVE_SCRIPT,     IDC_REMOVE_FORMATTING,    IDC_REMOVE_LINKS,
                          IDC_REMOVE_IMAGES_EXT, IDC_REMOVE_IMAGES_INT,    IDC_REMOVE_EXTERNAL_REFS,
                          IDC_REMOVE_WEB_BUGS,   IDC_REMOVE_READ_RECEIPTS};

const char kScriptRange[] = "Remove Script points must be between 0 and 99,999.";
const char kWebBugsRange[] = "Remove Web Bugs points must be between 0 and 99,999.";

using ValidateTest = PageTest;

struct RangeRow {
    const char* text;
    int failures;
};

TEST_F(ValidateTest, ScriptPointsAreCheckedAgainstZeroTo99999)
{
    const RangeRow rows[] = {
        {"99999", 0}, {"0", 0}, {"", 0}, {"12abc", 0}, {" +12", 0}, {"100000", 1}, {"-1", 1}, {"99999999999", 1},
        // Beyond 32 bits, where a 32-bit atol would wrap into the range.
        {"4294967296", 1}, {"4294967396", 1}, {"-4294967296", 1}, {"18446744073709551716", 1},
    };
    OpenPage();
    for (const RangeRow& row : rows) {
        frontEnd.ClearMessageBoxes();
        SetPoints(IDC_POINTS_SCRIPT, row.text);
        EXPECT_EQ(page->Validate(), row.failures) << row.text;
        const std::vector<std::string> expected(row.failures, kScriptRange);
        EXPECT_EQ(frontEnd.MessageBoxes(), expected) << row.text;
    }
}

TEST_F(ValidateTest, EachFieldShowsItsOwnMessageInPageOrder)
{
    OpenPage();
    SetPoints(IDC_POINTS_WEB_BUGS, "100000");
    SetPoints(IDC_POINTS_SCRIPT, "-1");
    EXPECT_EQ(page->Validate(), 2);
    EXPECT_EQ(frontEnd.MessageBoxes(), (std::vector<std::string>{kScriptRange, kWebBugsRange}));
    EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, nullptr);
}

using OpenPageTest = PageTest;

TEST_F(OpenPageTest, IsAChildOfTheHostsWindowShowingTheSettingsOfTheIniFile)
{
    instance->WriteInt("Settings", "Flags", 0x08);
    instance->WriteInt("Settings", "PointsImagesInt", 7);
    instance->WriteInt("General", "Active", 0);
    OpenPage();
    EXPECT_EQ(IsDlgButtonChecked(page->m_hWnd, IDC_ACTIVE), 0u);
    EXPECT_EQ(IsDlgButtonChecked(page->m_hWnd, IDC_REMOVE_LINKS), 1u);
    EXPECT_EQ(IsDlgButtonChecked(page->m_hWnd, IDC_REMOVE_IMAGES_INT), 0u);
    char text[16];
    GetDlgItemTextA(page->m_hWnd, IDC_POINTS_IMAGES_INT, text, sizeof text);
    EXPECT_STREQ(text, "7");
    EXPECT_EQ(GetParent(page->m_hWnd), container->m_hWnd);
    EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, nullptr);
    EXPECT_EQ(CurrentInstance(), instance);
}

using SaveTest = PageTest;

struct FlagsRow {
    std::vector<int> ticked;
    int flags;
};

TEST_F(SaveTest, WritesTheFlagsWordOfTheTickedBoxes)
{
    const FlagsRow rows[] = {
        {{}, 0},
        {{IDC_REMOVE_SCRIPT, IDC_REMOVE_WEB_BUGS}, 65},
        {{IDC_REMOVE_LINKS}, 0x08},
        {{IDC_REMOVE_IMAGES_INT}, 0x10},
        {{IDC_REMOVE_IMAGES_EXT, IDC_REMOVE_READ_RECEIPTS}, 0x84},
    };
    OpenPage();
    for (const FlagsRow& row : rows) {
        for (int id : kRemoveIds) {
            SetChecked(id, false);
        }
        for (int id : row.ticked) {
            SetChecked(id, true);
        }
        EXPECT_EQ(page->Save(), 0);
        EXPECT_EQ(instance->ReadInt("Settings", "Flags", -1), row.flags);
        EXPECT_EQ(instance->Flags(), row.flags);
    }
}

TEST_F(SaveTest, ClearsBitsAboveTheEightSwitches)
{
    instance->WriteInt("Settings", "Flags", 0x3FF);
    OpenPage();
    page->Save();
    EXPECT_EQ(instance->ReadInt("Settings", "Flags", -1), 0xFF);
}

TEST_F(SaveTest, WritesActiveAndPoints)
{
    OpenPage();
    SetChecked(IDC_ACTIVE, false);
    SetPoints(IDC_POINTS_EXTERNAL_REFS, "77");
    page->Save();
    EXPECT_EQ(instance->GetActive(), 0);
    EXPECT_EQ(instance->ReadInt("Settings", "PointsExternalRefs", -1), 77);
    EXPECT_EQ(instance->Points(CategoryExternalRefs), 77);
}

// The exchange stops at the empty field; what it read before stands, the rest keeps the
// values the page opened with, and all of it is stored.
TEST_F(SaveTest, AnEmptyFieldEndsTheExchangeButNotTheSave)
{
    OpenPage();
    SetPoints(IDC_POINTS_FORMATTING, "3");
    SetPoints(IDC_POINTS_SCRIPT, "");
    SetPoints(IDC_POINTS_EXTERNAL_REFS, "77");
    page->Save();
    EXPECT_EQ(frontEnd.MessageBoxes(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(instance->ReadInt("Settings", "PointsFormatting", -1), 3);
    EXPECT_EQ(instance->ReadInt("Settings", "PointsScript", -1), 50);
    EXPECT_EQ(instance->ReadInt("Settings", "PointsExternalRefs", -1), 60);
}

TEST_F(SaveTest, TheNextAnalysisUsesTheNewSettings)
{
    CString text = "Content-Type: text/html\r\n\r\n<html><script>alert(1)</script>hi</html>\r\n";
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    OpenPage();
    SetChecked(IDC_REMOVE_SCRIPT, false);
    SetPoints(IDC_POINTS_SCRIPT, "7");
    page->Save();
    EXPECT_EQ(Analyze(instance, &record), 0);
    EXPECT_EQ(record.score, 7);

    SetChecked(IDC_REMOVE_SCRIPT, true);
    page->Save();
    EXPECT_EQ(Analyze(instance, &record), 1);
    EXPECT_EQ(std::string(text).find("alert"), std::string::npos);
}

}  // namespace
