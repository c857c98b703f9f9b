#include "common/find_no_case.h"

#include <gtest/gtest.h>

#include <string>

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
                    FindCase{"abAB", "ab", 0},
                    FindCase{"/html text/html", "text/html", 6},  // "/" too near the start
                    FindCase{"text/htm/ text/HTML", "text/html", 10},
                    FindCase{"x:cid:a", "CID:", 2},              // the colon is met first
                    FindCase{"Content-TypeContent-Type:", "content-type:", 12}));

struct NulCase {
    const char* name;
    std::string text;
    const char* pattern;
};

class FindNoCaseUpToNulTest : public testing::TestWithParam<NulCase> {};

// Whatever lies behind a NUL, the answer is that of the C string.
TEST_P(FindNoCaseUpToNulTest, AnswersAsTheCStringSearch)
{
    const NulCase& row = GetParam();
    EXPECT_EQ(FindNoCaseUpToNul(row.text, row.pattern), FindNoCase(row.text.c_str(), row.pattern));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FindNoCaseUpToNulTest,
    testing::Values(NulCase{"NoNul", "a text/html b", "text/html"},
                    NulCase{"MatchBehindNul", std::string("abc\0 text/html", 14), "text/html"},
                    NulCase{"MatchBeforeNul", std::string("a text/html\0text/html", 21), "text/html"},
                    NulCase{"WholeCStringIsThePattern", std::string("text/html\0 more", 15), "text/html"},
                    NulCase{"WholeTextIsThePattern", "text/html", "text/html"},
                    NulCase{"PatternRunsIntoNul", std::string("text/ht\0ml text/html", 20), "text/html"},
                    NulCase{"MatchAtStartOfLongerText", "text/html;", "text/html"},
                    NulCase{"NulFirst", std::string("\0text/html", 10), "text/html"},
                    NulCase{"Empty", "", "text/html"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
