// The findings report as the host sees it: score, findings text and result of Analyze.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "module_harness.h"

namespace {

const std::string kHtmlHead = "From: a@example.org\r\nContent-Type: text/html\r\n\r\n";
const std::string kScript = kHtmlHead + "<p>hi</p><script>alert(1)</script>\r\n";
const std::string kWebBug = kHtmlHead + "<img src=\"http://example.com/t.gif?id=7\" alt=\"W\">\r\n";
const std::string kFormattingAndLink = kHtmlHead + "<b>bold</b> <a href=\"http://example.com/\">x</a>\r\n";

std::string Line(const char* number, const char* text)
{
    return std::string(number) + " Tagstrip - '" + text + "'\n";
}

struct ReportCase {
    const char* name;
    std::string message;
    int flags;
    std::map<std::string, int> points;
    std::string findings;
    std::int32_t scoreAdded;
    int replaced;
};

class ReportTable : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportTable, ScoreFindingsAndResult)
{
    const ReportCase& row = GetParam();
    ModuleHarness harness;
    const ModuleHarness::Result result = harness.Analyze(row.message, row.flags, row.points, 1000, "before\n");
    EXPECT_EQ(result.findings, "before\n" + row.findings);
    EXPECT_EQ(result.score, 1000 + row.scoreAdded);
    EXPECT_EQ(result.replaced, row.replaced);
    if (row.replaced == 0) {
        EXPECT_EQ(result.text, row.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportTable,
    ::testing::Values(
        ReportCase{"NotHtml", "Content-Type: text/plain\r\n\r\n<script>alert(1)</script>\r\n", 0xFF, {}, "", 0, 0},
        ReportCase{"NothingFound", kHtmlHead + "<p>plain words</p>\r\n", 0xFF, {}, "", 0, 0},
        ReportCase{"FlagsZeroScoresButKeepsTheText", kScript, 0, {}, Line("      50", "Script found."), 50, 0},
        ReportCase{"ScriptRemoved", kScript, 0x01, {},
                   Line("      50", "Script found.") + Line("       0", "Script removed."), 50, 1},
        ReportCase{"WebBugWithoutPointsRemoved", kWebBug, 0x40, {{"PointsWebBugs", 0}, {"PointsImagesExt", 0}},
                   Line("       0", "Web Bugs removed."), 0, 1},
        ReportCase{"NegativePointsCountAsNone", kScript, 0, {{"PointsScript", -5}}, "", 0, 0},
        ReportCase{"NineDigitPoints", kScript, 0, {{"PointsScript", 123456789}},
                   Line("123456789", "Script found."), 123456789, 0},
        ReportCase{"FoundLineBeforeRemovedLineInCategoryOrder", kFormattingAndLink, 0x0A, {},
                   Line("      10", "Formatting found.") + Line("       0", "Formatting removed.") +
                       Line("      10", "Links found.") + Line("       0", "Links removed."),
                   20, 1},
        ReportCase{"SwitchOnForCategoryNotFound", kScript, 0xFE, {}, Line("      50", "Script found."), 50, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Report, EveryCategoryInOrder)
{
    const std::string message =
        "Disposition-Notification-To: a@example.org\r\nContent-Type: text/html\r\n\r\n"
        "<script>x</script><b>b</b><img src=\"http://example.com/a.gif\"><img src=\"cid:part1\">"
        "<a href=\"h\">l</a><iframe src=\"http://example.com/\"></iframe><img src=\"http://example.com/t?1\">\r\n";
    ModuleHarness harness;
    const ModuleHarness::Result result = harness.Analyze(message, 0);
    EXPECT_EQ(result.findings, Line("      50", "Script found.") + Line("      10", "Formatting found.") +
                                   Line("      60", "External Image references found.") +
                                   Line("      60", "Internal Image references found.") +
                                   Line("      10", "Links found.") + Line("      60", "External Refs found.") +
                                   Line("     100", "Web Bugs found.") + Line("      10", "Read Receipt found."));
    EXPECT_EQ(result.score, 360);
    EXPECT_EQ(result.replaced, 0);
    EXPECT_EQ(result.text, message);
}

TEST(Report, ScoreWrapsAsThirtyTwoBits)
{
    ModuleHarness harness;
    const ModuleHarness::Result result = harness.Analyze(kScript, 0, {}, 2147483647);
    EXPECT_EQ(result.score, INT32_MIN + 49);
}

}  // namespace
