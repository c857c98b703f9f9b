#include "host/mbox_reader.h"

#include <gtest/gtest.h>
#include <vector>

#include "host_test_support.h"

namespace {

struct MboxCase {
    const char* name;
    std::string mbox;
    std::vector<MboxMessage> expected;
};

class MboxReaderTest : public ::testing::TestWithParam<MboxCase> {};

TEST_P(MboxReaderTest, SplitsMessagesAndKeepsEveryByte)
{
    ScratchDirectory scratch;
    std::string path = scratch.Write("box.mbox", GetParam().mbox);
    std::vector<MboxMessage> messages = ReadMboxMessages(path);
    ASSERT_EQ(messages.size(), GetParam().expected.size());
    std::string joined;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].fromLine, GetParam().expected[i].fromLine) << i;
        EXPECT_EQ(messages[i].text, GetParam().expected[i].text) << i;
        EXPECT_EQ(messages[i].separator, GetParam().expected[i].separator) << i;
        joined += messages[i].fromLine + messages[i].text + messages[i].separator;
    }
    EXPECT_EQ(joined, GetParam().mbox);
}

INSTANTIATE_TEST_SUITE_P(
    Mboxes, MboxReaderTest,
    ::testing::Values(
        MboxCase{"Empty", "", {}},
        MboxCase{"TwoMessages",
                 "From a@example.com Mon Oct 13 10:00:00 2025\nSubject: one\n\nbody\n\n"
                 "From b@example.com Mon Oct 13 11:00:00 2025\nSubject: two\n\nbody two\n\n",
                 {{"From a@example.com Mon Oct 13 10:00:00 2025\n", "Subject: one\n\nbody\n", "\n"},
                  {"From b@example.com Mon Oct 13 11:00:00 2025\n", "Subject: two\n\nbody two\n", "\n"}}},
        MboxCase{"QuotedFromStaysInTheBody",
                 "From a@example.com x\nSubject: q\n\n>From here on\n\n",
                 {{"From a@example.com x\n", "Subject: q\n\n>From here on\n", "\n"}}},
        MboxCase{"FromWithoutBlankLineBeforeIsBody",
                 "From a@example.com x\nSubject: q\n\nline\nFrom the start\n",
                 {{"From a@example.com x\n", "Subject: q\n\nline\nFrom the start\n", ""}}},
        MboxCase{"CrlfSeparatorAndNoFinalLineEnd",
                 "From a@example.com x\r\nSubject: c\r\n\r\nbody\r\n\r\nFrom b@example.com y\r\nSubject: d",
                 {{"From a@example.com x\r\n", "Subject: c\r\n\r\nbody\r\n", "\r\n"},
                  {"From b@example.com y\r\n", "Subject: d", ""}}},
        MboxCase{"EmptyMessage", "From a@example.com x\n\nFrom b@example.com y\n",
                 {{"From a@example.com x\n", "", "\n"}, {"From b@example.com y\n", "", ""}}}),
    [](const ::testing::TestParamInfo<MboxCase>& info) { return std::string(info.param.name); });

TEST(MboxReader, RefusesAFileThatDoesNotStartWithAFromLine)
{
    ScratchDirectory scratch;
    std::string path = scratch.Write("note.txt", "Subject: not a mailbox\n\nhello\n");
    MboxReader reader;
    std::string error;
    EXPECT_FALSE(reader.Open(path, error));
    EXPECT_NE(error.find("not a mailbox"), std::string::npos) << error;
}

TEST(MboxReader, ReadsLinesLongerThanItsBuffer)
{
    ScratchDirectory scratch;
    std::string longLine(3 * 1024 * 1024 + 17, 'x');
    std::string mbox = "From a@example.com x\nSubject: long\n\n" + longLine + "\n\nFrom b@example.com y\nz\n";
    std::vector<MboxMessage> messages = ReadMboxMessages(scratch.Write("long.mbox", mbox));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Subject: long\n\n" + longLine + "\n");
    EXPECT_EQ(messages[1].text, "z\n");
}

TEST(MboxReader, ReportsAReadError)
{
    MboxReader reader;
    std::string error;
    EXPECT_FALSE(reader.Open("/proc/self/mem", error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

}  // namespace
