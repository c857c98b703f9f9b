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

struct StraddleCase {
    std::string tail;  // follows a first line that ends just before or after the first MiB
    std::string firstTextEnd;
    std::string firstSeparator;
    std::vector<MboxMessage> following;
};

// The reader takes the file in chunks; wherever a chunk ends inside these, the split
// is the same.
TEST(MboxReader, SplitsTheSameWhereverItsBufferEnds)
{
    const StraddleCase rows[] = {
        {"\r\n\r\nFrom b@example.com y\r\nz\r\n", "\r\n", "\r\n", {{"From b@example.com y\r\n", "z\r\n", ""}}},
        {"\n\nFrom b@example.com y\nz", "\n", "\n", {{"From b@example.com y\n", "z", ""}}},
        {"\n\nFrom b@example.com y", "\n", "\n", {{"From b@example.com y", "", ""}}},
        {"\n\nFrom\n\nFrom: c\n", "\n\nFrom\n\nFrom: c\n", "", {}},
        {"\nFrom b@example.com y\n", "\nFrom b@example.com y\n", "", {}},
        {"\n\rFrom b@example.com y\n", "\n\rFrom b@example.com y\n", "", {}},
        {"\n\n\nFrom b@example.com y\n\n", "\n\n", "\n", {{"From b@example.com y\n", "", "\n"}}},
    };
    const std::string fromLine = "From a@example.com x\n";
    const std::string head = "Subject: chunks\n\n";
    constexpr std::size_t kMebibyte = 1 << 20;
    TempDirectory scratch;
    for (const StraddleCase& row : rows) {
        for (std::size_t before = kMebibyte - row.tail.size(); before <= kMebibyte + 1; ++before) {
            const std::string filler(before - fromLine.size() - head.size(), 'x');
            std::vector<MboxMessage> messages =
                ReadMboxMessages(scratch.Write("box.mbox", fromLine + head + filler + row.tail));
            ASSERT_EQ(messages.size(), 1 + row.following.size()) << row.tail << " at " << before;
            EXPECT_EQ(messages[0].text, head + filler + row.firstTextEnd) << row.tail << " at " << before;
            EXPECT_EQ(messages[0].separator, row.firstSeparator) << row.tail << " at " << before;
            for (std::size_t i = 0; i < row.following.size(); ++i) {
                EXPECT_EQ(messages[i + 1].fromLine, row.following[i].fromLine) << row.tail << " at " << before;
                EXPECT_EQ(messages[i + 1].text, row.following[i].text) << row.tail << " at " << before;
                EXPECT_EQ(messages[i + 1].separator, row.following[i].separator) << row.tail << " at " << before;
            }
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

TEST(MboxReader, ReadsAFromLineLongerThanItsBuffer)
{
    TempDirectory scratch;
    const std::string fromLine = "From b@example.com " + std::string(3 * 1024 * 1024 + 5, 'y');
    const struct {
        std::string rest;
        std::string nextFromLine;
        std::string nextText;
    } rows[] = {
        {fromLine + "\nSubject: b\n", fromLine + "\n", "Subject: b\n"},
        {fromLine, fromLine, ""},
    };
    for (const auto& row : rows) {
        const std::string mbox = "From a@example.com x\nSubject: a\n\nbody\n\n" + row.rest;
        std::vector<MboxMessage> messages = ReadMboxMessages(scratch.Write("long-from.mbox", mbox));
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, "Subject: a\n\nbody\n");
        EXPECT_EQ(messages[1].fromLine, row.nextFromLine);
        EXPECT_EQ(messages[1].text, row.nextText);
    }
}

}  // namespace
