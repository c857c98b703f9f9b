#include "host/command_line.h"

#include <gtest/gtest.h>

namespace {

const std::vector<OptionRule> kSpecs = {{"--json", false}, {"--set", true}, {"--output", true}};

struct ParseCase {
    std::vector<std::string> words;
    bool accepted;
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> arguments;
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, SortsOptionsFromArguments)
{
    ParsedCommandLine parsed;
    std::string error;
    ASSERT_EQ(ParseCommandLine(GetParam().words, kSpecs, parsed, error), GetParam().accepted) << error;
    if (GetParam().accepted) {
        EXPECT_EQ(parsed.options, GetParam().options);
        EXPECT_EQ(parsed.arguments, GetParam().arguments);
    } else {
        EXPECT_FALSE(error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, ParseCommandLineTest,
    ::testing::Values(
        ParseCase{{"a", "--json", "b"}, true, {{"--json", {""}}}, {"a", "b"}},
        ParseCase{{"--set", "Flags=1", "--set=Script=5"}, true, {{"--set", {"Flags=1", "Script=5"}}}, {}},
        ParseCase{{"--output", "out", "--", "--json"}, true, {{"--output", {"out"}}}, {"--json"}},
        ParseCase{{"-"}, true, {}, {"-"}},
        ParseCase{{"--verbose"}, false, {}, {}},
        ParseCase{{"--output"}, false, {}, {}},
        ParseCase{{"--json=yes"}, false, {}, {}}));

TEST(ParsedCommandLine, ValueIsTheLastOneGivenOrTheFallback)
{
    ParsedCommandLine parsed;
    parsed.options["--output"] = {"first", "second"};
    EXPECT_EQ(parsed.Value("--output"), "second");
    EXPECT_EQ(parsed.Value("--module", "fallback"), "fallback");
}

}  // namespace
