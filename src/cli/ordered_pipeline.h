#ifndef TAGSTRIP_CLI_ORDERED_PIPELINE_H
#define TAGSTRIP_CLI_ORDERED_PIPELINE_H

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Works on items on a fixed number of threads and hands the finished items back, on the
// thread that submits them, in the order they were submitted. The items between
// submission and hand-back are bounded in number and in bytes, so a reader that submits
// as it reads never holds more than that in memory; an item larger than the byte bound
// goes through alone. Work that throws has its exception rethrown where the item would
// have been handed back; a Submit that rethrows it has not queued its own item.
//
// The submitting thread is one of the threads that work: rather than wait for room or
// for the oldest item, it works on the next item no thread has taken. So N threads keep
// N cores busy without a reader thread of their own competing for them, and the
// submitter sleeps only when every queued item is being worked on. While the other
// threads have plenty waiting, it works on each item it submits at once instead of
// queuing it, while what it has just made of the item is still in its core's cache.
// With one thread no thread is started: Submit works on the item and hands it back at
// once.
template <typename Item>
class OrderedPipeline {
public:
    struct Limits {
        std::size_t threads;  // the submitting thread and threads - 1 started here
        std::size_t items;    // at least 1
        std::size_t bytes;
    };
    using Step = std::function<void(Item&)>;

    OrderedPipeline(Limits limits, Step work, Step handBack)
        : limits(limits), work(std::move(work)), handBack(std::move(handBack))
    {
        try {
            for (std::size_t i = 1; i < limits.threads; ++i) {
                workers.emplace_back([this] { WorkerLoop(); });
            }
        } catch (...) {
            StopWorkers();
            throw;
        }
    }

    OrderedPipeline(const OrderedPipeline&) = delete;
    OrderedPipeline& operator=(const OrderedPipeline&) = delete;

    ~OrderedPipeline()
    {
        Discard();
        StopWorkers();
    }

    // Hands back the finished items at the front, then hands back finished items and
    // works on queued ones until there is room for this one, and queues it; or works on
    // it at once, when the other threads have at least kWaitingPerThread times its bytes
    // each waiting for them.
    void Submit(Item item, std::size_t bytes)
    {
        if (workers.empty()) {
            work(item);
            handBack(item);
            return;
        }
        while (MustHandBackBefore(bytes)) {
            HandBackOldest();
        }
        std::unique_lock<std::mutex> lock(mutex);
        slots.push_back(std::make_unique<Slot>(std::move(item), bytes));
        Slot& slot = *slots.back();
        queuedBytes += bytes;
        if (waitingBytes >= kWaitingPerThread * bytes * workers.size()) {
            WorkOn(slot, lock);
            return;
        }
        waiting.push_back(&slot);
        waitingBytes += bytes;
        lock.unlock();
        workAvailable.notify_one();
    }

    // No item follows: the other threads end once none is left to start, instead of
    // sleeping until the pipeline goes, so that it need not wait for them to wake then.
    void Close()
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            closed = true;
        }
        workAvailable.notify_all();
    }

    // Hands back the oldest item still queued, working on queued items meanwhile and
    // waiting only when every one is taken; false when none is queued.
    bool HandBackOldest()
    {
        std::unique_ptr<Slot> oldest;
        {
            std::unique_lock<std::mutex> lock(mutex);
            for (;;) {
                if (slots.empty()) {
                    return false;
                }
                if (slots.front()->finished) {
                    break;
                }
                if (!waiting.empty()) {
                    WorkOn(TakeWaiting(), lock);
                    continue;
                }
                submitterWaiting = true;
                slotFinished.wait(lock, [this] { return slots.front()->finished; });
                submitterWaiting = false;
            }
            oldest = TakeFront();
        }
        if (oldest->failure) {
            std::rethrow_exception(oldest->failure);
        }
        handBack(oldest->item);
        return true;
    }

    // Drops every item not yet handed back: those not yet started are never worked on,
    // those being worked on are waited for. Returns how many were dropped.
    std::size_t Discard()
    {
        std::unique_lock<std::mutex> lock(mutex);
        const std::size_t dropped = slots.size();
        discarding = true;
        while (!waiting.empty()) {
            Slot& slot = TakeWaiting();
            slot.dropped = true;
            queuedBytes -= slot.bytes;
        }
        slots.erase(std::remove_if(slots.begin(), slots.end(),
                                   [](const std::unique_ptr<Slot>& slot) { return slot->dropped; }),
                    slots.end());
        slotFinished.wait(lock, [this] {
            for (const std::unique_ptr<Slot>& slot : slots) {
                if (!slot->finished) {
                    return false;
                }
            }
            return true;
        });
        discarding = false;
        while (!slots.empty()) {
            TakeFront();
        }
        return dropped;
    }

private:
    // Less than this, and the other threads run out of waiting items while the submitter
    // works on one of its own (at 1 two threads took 1.5% longer than at 2 to 8, alike).
    static constexpr std::size_t kWaitingPerThread = 4;

    struct Slot {
        Slot(Item item, std::size_t bytes) : item(std::move(item)), bytes(bytes) {}
        Item item;
        std::size_t bytes;
        bool finished = false;
        bool dropped = false;
        std::exception_ptr failure;
    };

    void StopWorkers()
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            stopping = true;
        }
        workAvailable.notify_all();
        for (std::thread& worker : workers) {
            worker.join();
        }
    }

    // The oldest item is finished, or there is no room for one of these bytes.
    bool MustHandBackBefore(std::size_t bytes)
    {
        std::lock_guard<std::mutex> guard(mutex);
        return !slots.empty() &&
               (slots.front()->finished || slots.size() >= limits.items || queuedBytes + bytes > limits.bytes);
    }

    // Called with the lock held; the front slot has been finished.
    std::unique_ptr<Slot> TakeFront()
    {
        std::unique_ptr<Slot> front = std::move(slots.front());
        slots.pop_front();
        queuedBytes -= front->bytes;
        return front;
    }

    // Called with the lock held; an item is waiting.
    Slot& TakeWaiting()
    {
        Slot& slot = *waiting.front();
        waiting.pop_front();
        waitingBytes -= slot.bytes;
        return slot;
    }

    // Works on a slot no other thread has, with the lock let go; called and returns with
    // the lock held. True when the submitter awaits that item.
    bool WorkOn(Slot& slot, std::unique_lock<std::mutex>& lock)
    {
        lock.unlock();
        try {
            work(slot.item);
        } catch (...) {
            slot.failure = std::current_exception();
        }
        lock.lock();
        slot.finished = true;
        return discarding || (submitterWaiting && slots.front()->finished);
    }

    void WorkerLoop()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            workAvailable.wait(lock, [this] { return stopping || closed || !waiting.empty(); });
            if (stopping || waiting.empty()) {
                return;
            }
            if (WorkOn(TakeWaiting(), lock)) {
                // After the unlock, so that the submitter does not wake into a held lock.
                lock.unlock();
                slotFinished.notify_all();
                lock.lock();
            }
        }
    }

    const Limits limits;
    const Step work;
    const Step handBack;
    std::vector<std::thread> workers;

    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable slotFinished;
    // Submitted and not yet handed back, oldest first.
    std::deque<std::unique_ptr<Slot>> slots;
    std::size_t queuedBytes = 0;
    // Those of the slots no thread has taken yet, oldest first.
    std::deque<Slot*> waiting;
    std::size_t waitingBytes = 0;
    bool stopping = false;
    bool closed = false;
    bool discarding = false;
    bool submitterWaiting = false;
};

#endif
