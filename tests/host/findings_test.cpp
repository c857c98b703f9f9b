#include "host/findings.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct MarksCase {
    std::string findings;
    std::vector<Category> found;
    std::vector<Category> removed;
};

class MarksFromFindingsTest : public ::testing::TestWithParam<MarksCase> {};

TEST_P(MarksFromFindingsTest, TellsFoundFromRemovedPerCategory)
{
    CategoryMarks marks = MarksFromFindings(GetParam().findings);
    for (int category = 0; category < CategoryCount; ++category) {
        bool found = std::count(GetParam().found.begin(), GetParam().found.end(), category) != 0;
        bool removed = std::count(GetParam().removed.begin(), GetParam().removed.end(), category) != 0;
        EXPECT_EQ(marks.found[category], found) << kCategories[category].name;
        EXPECT_EQ(marks.removed[category], removed) << kCategories[category].name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FindingsTexts, MarksFromFindingsTest,
    ::testing::Values(
        MarksCase{"", {}, {}},
        MarksCase{"      50 Tagstrip - 'Script found.'\n       0 Tagstrip - 'Script removed.'\n",
                  {CategoryScript}, {CategoryScript}},
        MarksCase{"      60 Tagstrip - 'Internal Image references found.'\n", {CategoryImagesInt}, {}},
        MarksCase{"      60 Tagstrip - 'External Image references found.'\n"
                  "     100 Tagstrip - 'Web Bugs found.'\n       0 Tagstrip - 'Web Bugs removed.'\n",
                  {CategoryImagesExt, CategoryWebBugs}, {CategoryWebBugs}},
        MarksCase{"       0 Tagstrip - 'Read Receipt removed.'", {}, {CategoryReadReceipts}},
        MarksCase{"      10 Other - 'Links found.' from another analyzer, not ours\n", {}, {}}));

struct LinesCase {
    std::string findings;
    std::vector<std::string> lines;
};

class FindingsLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(FindingsLinesTest, CutsAtLineFeeds)
{
    EXPECT_EQ(FindingsLines(GetParam().findings), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, FindingsLinesTest,
                         ::testing::Values(LinesCase{"", {}}, LinesCase{"a\n", {"a"}},
                                           LinesCase{"a\nb", {"a", "b"}}, LinesCase{"a\n\nb\n", {"a", "", "b"}}));

}  // namespace
