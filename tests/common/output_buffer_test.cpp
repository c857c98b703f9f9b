#include "common/output_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Whatever room was reserved beforehand, the text comes out as written, however it
// grows: byte by byte, in blocks, past the reservation, and again after a release.
TEST(OutputBufferTest, KeepsEveryByteWrittenWhateverTheRoomReserved)
{
    std::string block(100000, 'b');
    for (std::size_t reserved : {std::size_t(0), std::size_t(10), std::size_t(200000), std::size_t(5000000)}) {
        OutputBuffer buffer;
        buffer.Reserve(reserved);
        std::string expected;
        for (int round = 0; round < 30; ++round) {
            buffer.Append(static_cast<char>('a' + round % 26));
            buffer.Append(block.data(), block.size() / (round + 1));
            expected += static_cast<char>('a' + round % 26);
            expected.append(block, 0, block.size() / (round + 1));
        }
        EXPECT_EQ(buffer.Text(), expected) << reserved;
        buffer.Release();
        EXPECT_TRUE(buffer.Text().empty());
        buffer.Append("after");
        EXPECT_EQ(buffer.Text(), "after");
    }
}

}  // namespace
