#include "mailbox/mbox_rewrite.h"

#include <gtest/gtest.h>

namespace {

TEST(QuotedForMbox, NoLineCanOpenAMessage)
{
    const struct {
        std::string message;
        std::string quoted;
    } rows[] = {
        {"From the top\nFrom now on\n", ">From the top\n>From now on\n"},
        {"Subject: a\n\n>From kept\nFromage\n", "Subject: a\n\n>From kept\nFromage\n"},
        {"Subject: a\r\n\r\nno end", "Subject: a\r\n\r\nno end\r\n"},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(QuotedForMbox(row.message), row.quoted) << row.message;
    }
}

}  // namespace
