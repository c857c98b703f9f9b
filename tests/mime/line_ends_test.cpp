#include "mime/line_ends.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LineEndCase {
    const char* name;
    std::string raw;
    std::string expected;
};

class LineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(LineEnds, BecomeCrLf)
{
    std::string out = "kept";
    AppendWithCrLfLineEnds(out, GetParam().raw);
    EXPECT_EQ(out, "kept" + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LineEnds,
    ::testing::Values(LineEndCase{"Empty", "", ""}, LineEndCase{"CrLfStays", "a\r\nb\r\n", "a\r\nb\r\n"},
                      LineEndCase{"LineFeedAlone", "a\nb\n", "a\r\nb\r\n"},
                      LineEndCase{"Mixed", "a\r\nb\nc\r\n\n", "a\r\nb\r\nc\r\n\r\n"},
                      LineEndCase{"TwoCarriageReturns", "a\r\r\n", "a\r\r\n"},
                      LineEndCase{"LoneCarriageReturnInside", "a\rb\n", "a\rb\r\n"},
                      LineEndCase{"LastLineWithoutEnd", "a\nlast", "a\r\nlast\r\n"},
                      LineEndCase{"LastLineEndsInCarriageReturn", "a\r\nlast\r", "a\r\nlast\r\n"},
                      LineEndCase{"OnlyCarriageReturn", "\r", "\r\n"},
                      LineEndCase{"EmptyLines", "\n\r\n\n", "\r\n\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
