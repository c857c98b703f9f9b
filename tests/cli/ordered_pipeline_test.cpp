#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/ordered_pipeline.h"

namespace {

struct Item {
    int number;
    std::size_t bytes;
    int workedBy = 0;  // how many times work ran on it
};

// What the test sees of a pipeline: the numbers handed back, in order, and the most items
// and bytes that were ever submitted and not yet handed back.
class PipelineProbe {
public:
    void Submitted(const Item& item)
    {
        ++pending;
        pendingBytes += item.bytes;
    }

    // After Submit has returned.
    void Measure()
    {
        mostPending = std::max(mostPending, pending);
        mostPendingBytes = std::max(mostPendingBytes, pendingBytes);
    }

    void HandedBack(const Item& item)
    {
        EXPECT_EQ(item.workedBy, 1) << item.number;
        handedBack.push_back(item.number);
        --pending;
        pendingBytes -= item.bytes;
    }

    std::vector<int> handedBack;
    std::size_t pending = 0;
    std::size_t pendingBytes = 0;
    std::size_t mostPending = 0;
    std::size_t mostPendingBytes = 0;
};

// Later items take less work, so that they tend to finish before earlier ones.
void UnevenWork(Item& item)
{
    volatile unsigned sink = 0;
    for (int i = 0; i < (40 - item.number % 40) * 2000; ++i) {
        sink = sink + static_cast<unsigned>(i);
    }
    ++item.workedBy;
}

std::vector<int> Numbers(int count)
{
    std::vector<int> numbers;
    for (int number = 0; number < count; ++number) {
        numbers.push_back(number);
    }
    return numbers;
}

TEST(OrderedPipeline, HandsBackInSubmissionOrderWithinItsBounds)
{
    struct Case {
        std::size_t workers, items, bytes;
        std::size_t itemBytes;
        std::size_t mostPending;  // at most
    };
    const Case cases[] = {
        {1, 1, 0, 10, 0},          // no threads: each item handed back before Submit returns
        {2, 16, 1 << 20, 10, 16},  // bounded by count
        {4, 64, 1000, 100, 10},    // bounded by bytes
        {8, 3, 1 << 20, 10, 3},    // fewer places than workers
        {3, 8, 50, 100, 1},        // every item over the byte bound: one at a time
    };
    // Closed, the pipeline still works on and hands back every item queued before.
    for (const bool closed : {false, true}) {
        for (const Case& bounds : cases) {
            PipelineProbe probe;
            {
                OrderedPipeline<Item> pipeline({bounds.workers, bounds.items, bounds.bytes}, UnevenWork,
                                               [&](Item& item) { probe.HandedBack(item); });
                for (int number : Numbers(200)) {
                    Item item{number, bounds.itemBytes};
                    probe.Submitted(item);
                    pipeline.Submit(item, item.bytes);
                    probe.Measure();
                }
                if (closed) {
                    pipeline.Close();
                }
                while (pipeline.HandBackOldest()) {
                }
            }
            EXPECT_EQ(probe.handedBack, Numbers(200)) << bounds.workers << " workers, closed " << closed;
            EXPECT_EQ(probe.pending, 0u);
            EXPECT_LE(probe.mostPending, bounds.mostPending) << bounds.workers << " workers";
            EXPECT_LE(probe.mostPendingBytes, std::max(bounds.itemBytes, bounds.bytes));
        }
    }
}

// The Submit that meets the failure throws before it queues its own item.
TEST(OrderedPipeline, RethrowsAFailureAtItsTurnAndGoesOnAfterIt)
{
    for (std::size_t workers : {1, 2, 4}) {
        std::vector<int> handedBack;
        OrderedPipeline<Item> pipeline(
            {workers, 8, 1 << 20},
            [](Item& item) {
                UnevenWork(item);
                if (item.number == 5) {
                    throw std::runtime_error("item 5");
                }
            },
            [&](Item& item) { handedBack.push_back(item.number); });
        std::vector<std::string> failures;
        std::vector<int> expected;
        for (int number : Numbers(20)) {
            try {
                pipeline.Submit(Item{number, 1}, 1);
                expected.push_back(number);
            } catch (const std::runtime_error& failure) {
                failures.push_back(failure.what());
                EXPECT_EQ(handedBack, Numbers(5)) << workers << " workers";
            }
        }
        while (pipeline.HandBackOldest()) {
        }
        expected.erase(std::remove(expected.begin(), expected.end(), 5), expected.end());
        EXPECT_EQ(handedBack, expected) << workers << " workers";
        EXPECT_EQ(failures, std::vector<std::string>{"item 5"}) << workers << " workers";
    }
}

// The one other thread is held up on the first item until the last is worked on, which
// only the submitting thread can do: it works on queued items rather than wait for them.
TEST(OrderedPipeline, TheSubmitterWorksOnQueuedItemsInsteadOfWaiting)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool firstStarted = false;
    bool lastDone = false;
    bool firstSawLast = false;
    std::vector<int> handedBack;
    constexpr int kCount = 10;
    OrderedPipeline<Item> pipeline(
        {2, kCount, 1 << 20},
        [&](Item& item) {
            std::unique_lock<std::mutex> lock(mutex);
            if (item.number == 0) {
                firstStarted = true;
                changed.notify_all();
                firstSawLast = changed.wait_for(lock, std::chrono::seconds(20), [&] { return lastDone; });
            } else if (item.number == kCount - 1) {
                lastDone = true;
                changed.notify_all();
            }
        },
        [&](Item& item) { handedBack.push_back(item.number); });
    for (int number : Numbers(kCount)) {
        pipeline.Submit(Item{number, 1}, 1);
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return firstStarted; });
    }
    while (pipeline.HandBackOldest()) {
    }
    EXPECT_TRUE(firstSawLast);
    EXPECT_EQ(handedBack, Numbers(kCount));
}

// The other threads are held up on the first item until the submitter has queued four
// more: it works on the sixth itself, before its Submit returns, and the sixth is still
// handed back after the five before it.
TEST(OrderedPipeline, TheSubmitterWorksOnItsOwnItemWhenTheOthersHavePlentyWaiting)
{
    const std::thread::id submitter = std::this_thread::get_id();
    std::mutex mutex;
    std::condition_variable changed;
    bool firstStarted = false;
    bool gateOpen = false;
    std::vector<int> workedHere;
    std::vector<int> handedBack;
    OrderedPipeline<Item> pipeline(
        {2, 16, 1 << 20},
        [&](Item& item) {
            std::unique_lock<std::mutex> lock(mutex);
            if (std::this_thread::get_id() == submitter) {
                workedHere.push_back(item.number);
                return;
            }
            firstStarted = true;
            changed.notify_all();
            changed.wait(lock, [&] { return gateOpen; });
        },
        [&](Item& item) { handedBack.push_back(item.number); });
    pipeline.Submit(Item{0, 1}, 1);
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return firstStarted; });
    }
    for (int number = 1; number < 6; ++number) {
        pipeline.Submit(Item{number, 1}, 1);
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(workedHere, std::vector<int>{5});
        EXPECT_TRUE(handedBack.empty());
        gateOpen = true;
        changed.notify_all();
    }
    while (pipeline.HandBackOldest()) {
    }
    EXPECT_EQ(handedBack, Numbers(6));
}

TEST(OrderedPipeline, DiscardDropsWhatIsQueuedAndWaitsForWhatIsBeingWorkedOn)
{
    const std::thread::id submitter = std::this_thread::get_id();
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    bool gateOpen = false;
    std::atomic<int> worked{0};
    std::vector<int> handedBack;
    // Two threads besides the submitter; what the submitter works on is not held up.
    OrderedPipeline<Item> pipeline(
        {3, 8, 1 << 20},
        [&](Item& item) {
            if (std::this_thread::get_id() == submitter) {
                ++worked;
                return;
            }
            std::unique_lock<std::mutex> lock(mutex);
            ++running;
            changed.notify_all();
            changed.wait(lock, [&] { return gateOpen || item.number >= 100; });
            --running;
            ++worked;
        },
        [&](Item& item) { handedBack.push_back(item.number); });
    for (int number : Numbers(6)) {
        pipeline.Submit(Item{number, 1}, 1);
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return running == 2; });
    }
    std::thread opener([&] {
        std::lock_guard<std::mutex> lock(mutex);
        gateOpen = true;
        changed.notify_all();
    });
    EXPECT_EQ(pipeline.Discard(), 6u);
    opener.join();
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(running, 0);
    }
    EXPECT_GE(worked.load(), 2);
    EXPECT_TRUE(handedBack.empty());
    EXPECT_FALSE(pipeline.HandBackOldest());

    for (int number : {100, 101, 102}) {
        pipeline.Submit(Item{number, 1}, 1);
    }
    while (pipeline.HandBackOldest()) {
    }
    EXPECT_EQ(handedBack, (std::vector<int>{100, 101, 102}));
}

}  // namespace
