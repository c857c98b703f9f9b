#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "platform/windows.h"

namespace {

TEST(ItoaTest, MinusSignOnlyInRadixTen)
{
    char buffer[40];
    EXPECT_STREQ(_itoa(INT_MIN, buffer, 10), "-2147483648");
    EXPECT_STREQ(_itoa(0, buffer, 10), "0");
    EXPECT_STREQ(_itoa(-1, buffer, 16), "ffffffff");
}

TEST(LstrcpynTest, CopiesAtMostOneLessThanTheBufferAndTerminates)
{
    const struct {
        const char* source;
        int maxLength;
        const char* expected;
    } rows[] = {{"hello", 3, "he"}, {"hi", 10, "hi"}, {"x", 1, ""}, {"abc", 4, "abc"}};
    for (const auto& row : rows) {
        char buffer[16] = "###############";
        EXPECT_STREQ(lstrcpynA(buffer, row.source, row.maxLength), row.expected);
        EXPECT_EQ(buffer[std::string(row.expected).size() + 1], '#') << "wrote past the NUL";
    }
}

}  // namespace
