#include <gtest/gtest.h>

#include <string>

#include "mime/mime_walker.h"

namespace {

struct HeaderValueCase {
    std::string block;
    const char* name;
    std::string value;
};

class HeaderValueTable : public ::testing::TestWithParam<HeaderValueCase> {};

TEST_P(HeaderValueTable, GivesTheRawValue)
{
    std::string value = "stale";
    GetHeaderValue(GetParam().block, GetParam().name, value);
    EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, HeaderValueTable,
    ::testing::Values(
        HeaderValueCase{"Content-Type: text/html\r\n\r\n", "Content-Type:", " text/html\r"},
        HeaderValueCase{"From: a\r\ncontent-TYPE: text/plain\r\n\r\n", "Content-Type:", " text/plain\r"},
        HeaderValueCase{"Content-Type: multipart/mixed;\r\n\tboundary=\"F\";\r\n  x=y\r\nTo: b\r\n\r\n",
                        "Content-Type:", " multipart/mixed;\r\n\tboundary=\"F\";\r\n  x=y\r"},
        HeaderValueCase{"X-Content-Type: first\r\nContent-Type: second\r\n\r\n", "Content-Type:", " first\r"},
        HeaderValueCase{"Content-Type: cut short", "Content-Type:", " cut short"},
        HeaderValueCase{"Content-Type: folded at the end\r\n", "Content-Type:", " folded at the end\r"},
        HeaderValueCase{"From: a\r\n\r\n", "Content-Type:", ""},
        HeaderValueCase{"", "Content-Type:", ""}));

}  // namespace
