#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "platform/windows.h"

namespace {

TEST(ItoaTest, WritesDigitsOfEachRadix)
{
    struct Row {
        int value;
        int radix;
        const char* expected;
    };
    const Row rows[] = {
        {0, 10, "0"},         {-5, 10, "-5"},     {130000, 10, "130000"},
        {INT_MIN, 10, "-2147483648"}, {255, 16, "ff"}, {-1, 16, "ffffffff"},
        {5, 2, "101"},
    };
    for (const Row& row : rows) {
        char buffer[40];
        EXPECT_STREQ(_itoa(row.value, buffer, row.radix), row.expected) << row.value << " radix " << row.radix;
    }
}

TEST(StrnicmpTest, FoldsOnlyAsciiLettersAndComparesUnsignedBytes)
{
    struct Row {
        const char* left;
        const char* right;
        std::size_t count;
        int expectedSign;
    };
    const Row rows[] = {
        {"TEXT/html", "text/HTML", 9, 0}, {"abc", "abd", 2, 0},  {"abc", "abd", 3, -1},
        {"a[", "A{", 2, -1},              {"\xC4", "\xE4", 1, -1}, {"\x80", "a", 1, 1},
        {"ab", "abc", 3, -1},             {"abc", "abc", 10, 0},  {"x", "y", 0, 0},
    };
    for (const Row& row : rows) {
        const int result = _strnicmp(row.left, row.right, row.count);
        EXPECT_EQ((result > 0) - (result < 0), row.expectedSign) << row.left << " / " << row.right;
    }
}

TEST(LstrcpynTest, CopiesAtMostOneLessThanTheBufferAndTerminates)
{
    struct Row {
        const char* source;
        int maxLength;
        const char* expected;
    };
    const Row rows[] = {{"hello", 3, "he"}, {"hi", 10, "hi"}, {"x", 1, ""}, {"abc", 4, "abc"}};
    for (const Row& row : rows) {
        char buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        EXPECT_EQ(lstrcpynA(buffer, row.source, row.maxLength), buffer);
        EXPECT_STREQ(buffer, row.expected);
        EXPECT_EQ(buffer[std::string(row.expected).size() + 1], '#') << "wrote past the NUL";
    }
}

}  // namespace
