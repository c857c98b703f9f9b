#include <cstring>
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

// The buffer is written in place: growing keeps the text, an empty string gets a buffer of
// its own, and the length is what ReleaseBuffer says or, without one, up to the first NUL.
TEST(CStringTest, BufferWrittenInPlaceTakesTheReleasedLength)
{
    const struct {
        const char* start;
        int room;
        std::string written;  // placed at the start of the buffer
        int released;
        std::string expected;
    } rows[] = {
        {"abc", 10, "xy", -1, "xyc"},
        {"abc", 2, "", 2, "ab"},
        {"", 0, "", -1, ""},
        {"", 4, "wxyz", 4, "wxyz"},
        {"abcdef", 3, "Q", 1, "Q"},
        {"ab", 5, std::string("a\0b", 3), 3, std::string("a\0b", 3)},
    };
    for (const auto& row : rows) {
        CString text(row.start);
        char* buffer = text.GetBuffer(row.room);
        std::memcpy(buffer, row.written.data(), row.written.size());
        text.ReleaseBuffer(row.released);
        EXPECT_EQ(std::string(text, static_cast<std::size_t>(text.GetLength())), row.expected) << row.start;
        EXPECT_EQ(static_cast<const char*>(text)[text.GetLength()], '\0');
    }
    CString untouched;
    EXPECT_STREQ(untouched, "");
}

}  // namespace
