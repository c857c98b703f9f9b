#include "mailbox/mbox_reader.h"

#include <gtest/gtest.h>
#include <random>
#include <string_view>
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
    std::string tail;  // follows a first line that ends just before or after the first read
    std::string firstTextEnd;
    std::string firstSeparator;
    std::vector<MboxMessage> following;
};

// The reader takes the file in chunks of 128 KiB; wherever a chunk ends inside these, the
// split is the same.
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
    constexpr std::size_t kFirstRead = 128 << 10;
    TempDirectory scratch;
    for (const StraddleCase& row : rows) {
        for (std::size_t before = kFirstRead - row.tail.size(); before <= kFirstRead + 1; ++before) {
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

// The split as the mbox format states it, line by line: a message starts at a line
// beginning "From " that is the first line or follows a blank line, and its last line
// goes to the separator when blank.
std::vector<MboxMessage> SplitLineByLine(const std::string& mbox)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < mbox.size();) {
        const std::size_t end = std::min(mbox.find('\n', start), mbox.size() - 1) + 1;
        lines.push_back(std::string_view(mbox).substr(start, end - start));
        start = end;
    }
    auto blank = [](std::string_view line) { return line == "\n" || line == "\r\n"; };
    std::vector<MboxMessage> messages;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == 0 || (blank(lines[i - 1]) && IsFromLine(lines[i]))) {
            messages.push_back({std::string(lines[i]), "", ""});
        } else {
            messages.back().text += lines[i];
        }
    }
    for (MboxMessage& message : messages) {
        const std::size_t lastLine = message.text.size() < 2 ? 0 : message.text.rfind('\n', message.text.size() - 2) + 1;
        if (blank(std::string_view(message.text).substr(lastLine))) {
            message.separator = message.text.substr(lastLine);
            message.text.erase(lastLine);
        }
    }
    return messages;
}

// Mailboxes of a few MiB made of the lines where splitting goes wrong (blank lines in both
// line ends, "From" with and without its space, quoted and lone CRs, long lines that cross
// the reader's buffer), split the same as line by line.
TEST(MboxReader, SplitsGeneratedMailboxesAsTheFormatSays)
{
    const std::vector<std::string> pieces = {
        "\n", "\r\n", "\r", "From a@example.com x\n", "From \n", "From", "From\n", ">From b\n",
        "Subject: s\n", "text line\n", "\nFrom ", "\r\nFrom c\r\n", "Fro", "m d\n", "x\n\n\n",
    };
    std::mt19937 random(13);
    TempDirectory scratch;
    for (int mailbox = 0; mailbox < 12; ++mailbox) {
        std::string mbox = "From first@example.com\n";
        while (mbox.size() < (3u << 20) + static_cast<std::size_t>(mailbox) * 9973) {
            const unsigned pick = random() % (pieces.size() + 2);
            if (pick < pieces.size()) {
                mbox += pieces[pick];
            } else {
                mbox.append(random() % (pick == pieces.size() ? 200 : 400000), 'y');
            }
        }
        const std::vector<MboxMessage> expected = SplitLineByLine(mbox);
        const std::vector<MboxMessage> messages = ReadMboxMessages(scratch.Write("random.mbox", mbox));
        ASSERT_EQ(messages.size(), expected.size()) << "mailbox " << mailbox;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(messages[i].fromLine, expected[i].fromLine) << "mailbox " << mailbox << ", message " << i;
            ASSERT_EQ(messages[i].text, expected[i].text) << "mailbox " << mailbox << ", message " << i;
            ASSERT_EQ(messages[i].separator, expected[i].separator) << "mailbox " << mailbox << ", message " << i;
        }
    }
}

}  // namespace
