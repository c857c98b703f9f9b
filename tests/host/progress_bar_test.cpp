#include "host/progress_bar.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    std::uint64_t messages;
    std::uint64_t bytesDone;
    std::uint64_t totalBytes;
    double seconds;
    std::string line;
};

class ProgressLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLineTest, EstimatesTheRestFromTheBytesRead)
{
    const LineCase& row = GetParam();
    EXPECT_EQ(ProgressBar::Line(row.messages, row.bytesDone, row.totalBytes, row.seconds), row.line);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ProgressLineTest,
    ::testing::Values(
        LineCase{0, 0, 1000, 0.0, "0 messages, 0/s [........................] 0% ETA ?"},
        LineCase{100, 250, 1000, 10.0, "100 messages, 10/s [######..................] 25% ETA 0:30"},
        LineCase{100, 500, 1000, 90.0, "100 messages, 1/s [############............] 50% ETA 1:30"},
        LineCase{8, 1200, 1000, 2.0, "8 messages, 4/s [########################] 100% ETA 0:00"},
        LineCase{3, 0, 0, 1.0, "3 messages, 3/s [########################] 100% ETA 0:00"}));

}  // namespace
