#include "cli/json_line.h"

#include <gtest/gtest.h>

namespace {

// The scan goldens pin the shape of a line; file names and findings may hold anything.
TEST(JsonQuoted, EscapesWhatJsonForbids)
{
    EXPECT_EQ(JsonQuoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonQuoted("tab\tline\n"), "\"tab\\u0009line\\u000a\"");
    EXPECT_EQ(JsonQuoted("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
}

}  // namespace
