#include "common/find_no_case.h"

#include <gtest/gtest.h>

namespace {

struct FindCase {
    const char* text;
    const char* pattern;
    int expectedOffset;  // -1 for no match
};

class FindNoCaseTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindNoCaseTest, FindsFirstMatchOrNothing)
{
    const FindCase& row = GetParam();
    const char* found = FindNoCase(row.text, row.pattern);
    if (row.expectedOffset < 0) {
        EXPECT_EQ(found, nullptr);
    } else {
        EXPECT_EQ(found, row.text + row.expectedOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FindNoCaseTest,
    testing::Values(FindCase{nullptr, "a", -1}, FindCase{"abc", nullptr, -1},
                    FindCase{"", "a", -1}, FindCase{"abc", "", -1},
                    FindCase{"text/html", "text/html", -1},     // as long as the text
                    FindCase{"html", "text/html", -1},          // longer than the text
                    FindCase{"text/html;", "text/html", 0},
                    FindCase{"Content-Type: TEXT/HTML\r\n", "text/html", 14},
                    FindCase{"abab!", "ab", 0},                  // first of two
                    FindCase{"xxabab", "AB", 2},
                    FindCase{"ending ab", "ab", 7},              // last possible position
                    FindCase{"a[b", "A{B", -1},                  // '[' is not '{'
                    FindCase{"x\xC4y", "\xE4", -1},              // no folding above 127
                    FindCase{"x\xC4y", "\xC4", 1},
                    FindCase{"a@b", "A`B", -1},                  // '@' and '`' stay apart
                    FindCase{"aXAb", "ab", 2},                   // lower case tried first, fails
                    FindCase{"AxAyaB", "ab", 4},                 // upper case tried first, fails
                    FindCase{"1-2--3", "--3", 3},                // first character no letter
                    FindCase{"abAB", "ab", 0}));

}  // namespace
