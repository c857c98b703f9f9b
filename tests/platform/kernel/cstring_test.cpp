#include <string>

#include <gtest/gtest.h>

#include "tagstrip/host_api.h"

namespace {

TEST(CStringTest, ByteConstructorCopiesExactlyThatManyBytes)
{
    const CString text("ab\0cd-not-this", 5);
    EXPECT_EQ(std::string(text, static_cast<std::size_t>(text.GetLength())), std::string("ab\0cd", 5));
    EXPECT_EQ(static_cast<const char*>(text)[5], '\0');
}

TEST(CStringTest, AssignsAndAppendsFromItselfWhileGrowing)
{
    CString text("abc");
    text = text;
    text += text;
    text = static_cast<const char*>(text) + 2;
    std::string expected = "cabc";
    for (int round = 0; round < 12; ++round) {
        text += static_cast<const char*>(text) + 3;
        expected += expected.substr(3);
    }
    const CString copy(text);
    text.Empty();
    EXPECT_EQ(std::string(copy), expected);
    EXPECT_STREQ(text, "");
}

}  // namespace
