#include <string>

#include <gtest/gtest.h>

#include "tagstrip/host_api.h"

namespace {

std::string Bytes(const CString& text)
{
    return std::string(static_cast<const char*>(text), static_cast<std::size_t>(text.GetLength()));
}

TEST(CStringTest, EmptyStringsReadAsTerminatedEmptyText)
{
    const CString fromNothing;
    const CString fromNull(static_cast<const char*>(nullptr));
    EXPECT_STREQ(fromNothing, "");
    EXPECT_STREQ(fromNull, "");
    EXPECT_TRUE(fromNull.IsEmpty());
}

TEST(CStringTest, ByteConstructorCopiesExactlyThatManyBytes)
{
    const CString text("ab\0cd-not-this", 5);
    EXPECT_EQ(text.GetLength(), 5);
    EXPECT_EQ(Bytes(text), std::string("ab\0cd", 5));
    EXPECT_EQ(static_cast<const char*>(text)[5], '\0');
}

TEST(CStringTest, AssignsAndAppendsFromItself)
{
    CString text("abc");
    text = text;
    text += text;
    EXPECT_STREQ(text, "abcabc");
    text = static_cast<const char*>(text) + 2;
    EXPECT_STREQ(text, "cabc");
    text += static_cast<const char*>(text) + 1;
    EXPECT_STREQ(text, "cabcabc");
}

TEST(CStringTest, AppendingCharactersGrowsAndCopiesStayIndependent)
{
    CString text;
    std::string expected;
    for (int index = 0; index < 1000; ++index) {
        const char character = static_cast<char>('a' + index % 26);
        text += character;
        expected += character;
    }
    const CString copy(text);
    text.Empty();
    EXPECT_EQ(Bytes(copy), expected);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_STREQ(text, "");
}

}  // namespace
