#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "milter/address_list.h"

namespace {

const char kList[] =
    "# senders whose mail goes on untouched\n"
    "Alice@Example.COM\n"
    "\n"
    "   bob@example.com   \r\n"
    "@Lists.Example.org\n"
    "/^bounce-[0-9]+@example\\.net$/\n"
    "<>\n";

struct MatchCase {
    const char* address;
    bool listed;
};

TEST(AddressList, AddressesDomainsPatternsAndTheNullSender)
{
    AddressList list;
    std::vector<std::string> problems;
    ASSERT_TRUE(list.Parse(kList, "skip.list", problems));
    EXPECT_TRUE(problems.empty());
    const MatchCase cases[] = {
        {"alice@example.com", true},        {"ALICE@EXAMPLE.COM", true},       {"alice@example.co", false},
        {"malice@example.com", false},      {"bob@example.com", true},         {"x@lists.example.org", true},
        {"X@LISTS.EXAMPLE.ORG", true},      {"x@sub.lists.example.org", false}, {"x@example.org", false},
        {"lists.example.org", false},       {"bounce-12@example.net", true},   {"BOUNCE-12@Example.NET", true},
        {"bounce-x@example.net", false},    {"rebounce-12@example.net", false}, {"", true},
    };
    for (const MatchCase& test : cases) {
        EXPECT_EQ(list.Matches(test.address), test.listed) << "'" << test.address << "'";
    }
}

TEST(AddressList, AnEmptyListMatchesNothingNotEvenTheNullSender)
{
    AddressList list;
    std::vector<std::string> problems;
    ASSERT_TRUE(list.Parse("# nothing yet\n\n", "skip.list", problems));
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.Matches(""));
    EXPECT_FALSE(list.Matches("alice@example.com"));
}

struct BareCase {
    const char* argument;
    const char* address;
};

TEST(AddressList, BareAddressOfAnEnvelopeArgument)
{
    const BareCase cases[] = {
        {"<alice@example.com>", "alice@example.com"},
        {"alice@example.com", "alice@example.com"},
        {"<>", ""},
        {"", ""},
        {"<alice@example.com> SIZE=1200 BODY=8BITMIME", "alice@example.com"},
        {"alice@example.com SIZE=1200", "alice@example.com"},
        {"<@relay.example,@hop.example:alice@example.com>", "alice@example.com"},
        {"  <Alice@Example.com>", "Alice@Example.com"},
        {"<alice@example.com", "alice@example.com"},
    };
    for (const BareCase& test : cases) {
        EXPECT_EQ(AddressList::Bare(test.argument), test.address) << "'" << test.argument << "'";
    }
}

TEST(AddressList, EveryBadLineIsNamedWithItsFileAndLine)
{
    const std::string text =
        "good@example.com\n"  // 1
        "/unclosed\n"         // 2
        "/(unbalanced/\n"     // 3
        "@\n"                 // 4
        "@two@example.com\n"  // 5
        "postmaster\n"        // 6
        "a b@example.com\n"   // 7
        "//\n"                // 8
        "<alice@example.com>\n"  // 9
        "@example.org\n";     // 10
    AddressList list;
    std::vector<std::string> problems;
    EXPECT_FALSE(list.Parse(text, "/etc/tagstrip/skip-from", problems));
    const int badLines[] = {2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(problems.size(), std::size(badLines));
    for (std::size_t at = 0; at < problems.size(); ++at) {
        std::string where = "/etc/tagstrip/skip-from:" + std::to_string(badLines[at]) + ": ";
        EXPECT_EQ(problems[at].compare(0, where.size(), where), 0) << problems[at];
    }
    EXPECT_NE(problems[1].find("unbalanced"), std::string::npos) << problems[1];
}

TEST(AddressList, AnUnreadableFileIsNamedWhereItWasGiven)
{
    AddressList list;
    std::vector<std::string> problems;
    EXPECT_FALSE(list.Load("/nonexistent/skip-to", "milter.conf:7", problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("milter.conf:7: cannot read /nonexistent/skip-to: ", 0), 0u) << problems[0];
    problems.clear();
    EXPECT_FALSE(list.Load("/", "command line", problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("directory"), std::string::npos) << problems[0];
}

}  // namespace
