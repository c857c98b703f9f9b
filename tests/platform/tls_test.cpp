#include <thread>

#include <gtest/gtest.h>

#include "platform/windows.h"

namespace {

TEST(TlsTest, EachThreadSeesOnlyWhatItStored)
{
    const DWORD slot = TlsAlloc();
    int mine = 1;
    int theirs = 2;
    ASSERT_TRUE(TlsSetValue(slot, &mine));
    LPVOID seenBeforeStoring = &mine;
    LPVOID seenAfterStoring = nullptr;
    std::thread other([&] {
        seenBeforeStoring = TlsGetValue(slot);
        TlsSetValue(slot, &theirs);
        seenAfterStoring = TlsGetValue(slot);
    });
    other.join();
    EXPECT_EQ(seenBeforeStoring, nullptr);
    EXPECT_EQ(seenAfterStoring, &theirs);
    EXPECT_EQ(TlsGetValue(slot), &mine);
    EXPECT_TRUE(TlsFree(slot));
}

TEST(TlsTest, FreedSlotReadsNullAndStartsEmptyWhenAllocatedAgain)
{
    int value = 1;
    const DWORD slot = TlsAlloc();
    TlsSetValue(slot, &value);
    ASSERT_TRUE(TlsFree(slot));
    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_FALSE(TlsSetValue(slot, &value));
    EXPECT_FALSE(TlsFree(slot));
    const DWORD again = TlsAlloc();
    EXPECT_EQ(again, slot);
    EXPECT_EQ(TlsGetValue(again), nullptr);
    EXPECT_EQ(TlsGetValue(TLS_OUT_OF_INDEXES), nullptr);
    TlsFree(again);
}

}  // namespace
