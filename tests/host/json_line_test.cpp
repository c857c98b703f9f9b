#include "host/json_line.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    std::string text;
    std::string quoted;
};

class JsonQuotedTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(JsonQuotedTest, EscapesWhatJsonForbids)
{
    EXPECT_EQ(JsonQuoted(GetParam().text), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(Texts, JsonQuotedTest,
                         ::testing::Values(QuoteCase{"plain", "\"plain\""}, QuoteCase{"a\"b\\c", "\"a\\\"b\\\\c\""},
                                           QuoteCase{"tab\tline\n", "\"tab\\u0009line\\u000a\""},
                                           QuoteCase{"caf\xc3\xa9", "\"caf\xc3\xa9\""}));

TEST(JsonObject, JoinsMembersIntoOneLine)
{
    JsonObject inner;
    inner.AddInteger("found", 2);
    std::string text = JsonObject()
                           .AddString("source", "box.mbox")
                           .AddBool("html", true)
                           .AddStrings("removed", {"Script", "WebBugs"})
                           .AddStrings("none", {})
                           .AddObject("Script", inner)
                           .Text();
    EXPECT_EQ(text, "{\"source\":\"box.mbox\",\"html\":true,\"removed\":[\"Script\",\"WebBugs\"],"
                    "\"none\":[],\"Script\":{\"found\":2}}");
}

}  // namespace
