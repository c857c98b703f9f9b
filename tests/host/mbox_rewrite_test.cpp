#include "host/mbox_rewrite.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    std::string message;
    std::string quoted;
};

class QuotedForMboxTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedForMboxTest, NoLineCanOpenAMessage)
{
    EXPECT_EQ(QuotedForMbox(GetParam().message), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, QuotedForMboxTest,
    ::testing::Values(QuoteCase{"Subject: a\n\nbody\n", "Subject: a\n\nbody\n"},
                      QuoteCase{"Subject: a\n\nFrom now on\n", "Subject: a\n\n>From now on\n"},
                      QuoteCase{"From the top\n", ">From the top\n"},
                      QuoteCase{"Subject: a\n\n>From kept\nFromage\n", "Subject: a\n\n>From kept\nFromage\n"},
                      QuoteCase{"Subject: a\r\n\r\nno end", "Subject: a\r\n\r\nno end\r\n"},
                      QuoteCase{"", ""}));

}  // namespace
