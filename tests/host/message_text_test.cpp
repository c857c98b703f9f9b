#include "host/message_text.h"

#include <gtest/gtest.h>

namespace {

struct LineEndCase {
    std::string message;
    bool crlf;
};

class UsesCrlfTest : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(UsesCrlfTest, JudgesByTheFirstLine)
{
    EXPECT_EQ(UsesCrlf(GetParam().message), GetParam().crlf);
}

INSTANTIATE_TEST_SUITE_P(Messages, UsesCrlfTest,
                         ::testing::Values(LineEndCase{"", false}, LineEndCase{"Subject: a\r\n\r\n", true},
                                           LineEndCase{"Subject: a\n\r\n", false}, LineEndCase{"\r\n", true},
                                           LineEndCase{"\n", false}, LineEndCase{"no line end", false}));

struct ConversionCase {
    std::string text;
    std::string expected;
};

class CrlfToLfTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(CrlfToLfTest, TouchesOnlyCrlfPairs)
{
    EXPECT_EQ(CrlfToLf(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, CrlfToLfTest,
                         ::testing::Values(ConversionCase{"a\r\nb\r\n", "a\nb\n"}, ConversionCase{"a\rb\n", "a\rb\n"},
                                           ConversionCase{"\r\r\n", "\r\n"}, ConversionCase{"end\r", "end\r"}));

}  // namespace
