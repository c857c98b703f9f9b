#include "mailbox/mbox_reader.h"

#include <gtest/gtest.h>
#include <vector>

#include "tests/support/host_test_support.h"

namespace {

struct MboxCase {
    std::string mbox;
    std::vector<MboxMessage> expected;
};

// The sample mailbox pins the ordinary split; these are the edges it does not have.
TEST(MboxReader, SplitsMessagesAndKeepsEveryByte)
{
    const MboxCase rows[] = {
        {"From a@example.com x\nSubject: q\n\n>From here on\n\n",
         {{"From a@example.com x\n", "Subject: q\n\n>From here on\n", "\n"}}},
        {"From a@example.com x\nSubject: q\n\nline\nFrom the start\n",
         {{"From a@example.com x\n", "Subject: q\n\nline\nFrom the start\n", ""}}},
        {"From a@example.com x\r\nSubject: c\r\n\r\nbody\r\n\r\nFrom b@example.com y\r\nSubject: d",
         {{"From a@example.com x\r\n", "Subject: c\r\n\r\nbody\r\n", "\r\n"}, {"From b@example.com y\r\n", "Subject: d", ""}}},
        {"From a@example.com x\n\nFrom b@example.com y\n",
         {{"From a@example.com x\n", "", "\n"}, {"From b@example.com y\n", "", ""}}},
    };
    for (const MboxCase& row : rows) {
        TempDirectory scratch;
        std::vector<MboxMessage> messages = ReadMboxMessages(scratch.Write("box.mbox", row.mbox));
        ASSERT_EQ(messages.size(), row.expected.size()) << row.mbox;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            EXPECT_EQ(messages[i].fromLine, row.expected[i].fromLine) << row.mbox;
            EXPECT_EQ(messages[i].text, row.expected[i].text) << row.mbox;
            EXPECT_EQ(messages[i].separator, row.expected[i].separator) << row.mbox;
        }
    }
}

TEST(MboxReader, ReadsLinesLongerThanItsBuffer)
{
    TempDirectory scratch;
    std::string longLine(3 * 1024 * 1024 + 17, 'x');
    std::string mbox = "From a@example.com x\nSubject: long\n\n" + longLine + "\n\nFrom b@example.com y\nz\n";
    std::vector<MboxMessage> messages = ReadMboxMessages(scratch.Write("long.mbox", mbox));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Subject: long\n\n" + longLine + "\n");
    EXPECT_EQ(messages[1].text, "z\n");
}

}  // namespace
