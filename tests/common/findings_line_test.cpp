#include "common/findings_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

// The line as the C library prints the format, cut to room the same way.
std::string Printed(std::size_t room, int number, const char* name, const char* text)
{
    char line[256];
    std::snprintf(line, room, "%8d %s - '%s'\n", number, name, text);
    return line;
}

std::string Formatted(std::size_t room, int number, const char* name, const char* text)
{
    char line[256];
    FormatFindingsLine(line, room, number, name, text);
    return line;
}

class FindingsLineNumber : public ::testing::TestWithParam<int> {};

TEST_P(FindingsLineNumber, MatchesThePrintfFormat)
{
    EXPECT_EQ(Formatted(256, GetParam(), "Tagstrip", "Script found."),
              Printed(256, GetParam(), "Tagstrip", "Script found."));
    EXPECT_EQ(Formatted(256, GetParam(), "Remote", "Known trackers removed."),
              Printed(256, GetParam(), "Remote", "Known trackers removed."));
}

INSTANTIATE_TEST_SUITE_P(Widths, FindingsLineNumber,
                         ::testing::Values(0, 5, 50, -5, 9999999, 99999999, 100000000, 123456789, -1234567,
                                           -12345678, INT_MAX, INT_MIN));

TEST(FindingsLine, IsCutShortAsSnprintfCutsIt)
{
    for (std::size_t room : {1, 2, 8, 9, 20, 35}) {
        EXPECT_EQ(Formatted(room, 50, "Tagstrip", "Script found."), Printed(room, 50, "Tagstrip", "Script found."))
            << room;
    }
}

}  // namespace
