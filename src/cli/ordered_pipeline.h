#ifndef TAGSTRIP_CLI_ORDERED_PIPELINE_H
#define TAGSTRIP_CLI_ORDERED_PIPELINE_H

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

// Works on items on a fixed set of worker threads and hands the finished items back, on
// the thread that submits them, in the order they were submitted. The items between
// submission and hand-back are bounded in number and in bytes, so a reader that submits
// as it reads never holds more than that in memory; an item larger than the byte bound
// goes through alone. Work that throws has its exception rethrown where the item would
// have been handed back; a Submit that rethrows it has not queued its own item.
//
// With one worker no thread is started: Submit works on the item and hands it back at
// once, on the caller's thread.
template <typename Item>
class OrderedPipeline {
public:
    struct Limits {
        std::size_t workers;
        std::size_t items;  // at least 1
        std::size_t bytes;
    };
    using Step = std::function<void(Item&)>;

    OrderedPipeline(Limits limits, Step work, Step handBack)
        : limits(limits), work(std::move(work)), handBack(std::move(handBack))
    {
        try {
            for (std::size_t i = 0; limits.workers > 1 && i < limits.workers; ++i) {
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

    // Hands back finished items, oldest first, until there is room for this one, then
    // queues it.
    void Submit(Item item, std::size_t bytes)
    {
        if (workers.empty()) {
            work(item);
            handBack(item);
            return;
        }
        while (!HasRoomFor(bytes)) {
            HandBackOldest();
        }
        {
            std::lock_guard<std::mutex> guard(mutex);
            slots.push_back(std::make_unique<Slot>(std::move(item), bytes));
            queuedBytes += bytes;
        }
        workAvailable.notify_one();
    }

    // Waits for the oldest item still queued and hands it back; false when none is.
    bool HandBackOldest()
    {
        std::unique_ptr<Slot> oldest;
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (slots.empty()) {
                return false;
            }
            slotFinished.wait(lock, [this] { return slots.front()->finished; });
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
        while (slots.size() > started) {
            queuedBytes -= slots.back()->bytes;
            slots.pop_back();
        }
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
    struct Slot {
        Slot(Item item, std::size_t bytes) : item(std::move(item)), bytes(bytes) {}
        Item item;
        std::size_t bytes;
        bool finished = false;
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

    bool HasRoomFor(std::size_t bytes)
    {
        std::lock_guard<std::mutex> guard(mutex);
        return slots.empty() || (slots.size() < limits.items && queuedBytes + bytes <= limits.bytes);
    }

    // Called with the lock held; the front slot has been started.
    std::unique_ptr<Slot> TakeFront()
    {
        std::unique_ptr<Slot> front = std::move(slots.front());
        slots.pop_front();
        queuedBytes -= front->bytes;
        --started;
        return front;
    }

    void WorkerLoop()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            workAvailable.wait(lock, [this] { return stopping || started < slots.size(); });
            if (stopping) {
                return;
            }
            Slot& slot = *slots[started++];
            lock.unlock();
            try {
                work(slot.item);
            } catch (...) {
                slot.failure = std::current_exception();
            }
            lock.lock();
            slot.finished = true;
            // The submitter waits for the oldest item, or for all when discarding. It is
            // woken once the oldest is done and the workers are about to run out of
            // work, so that it hands back and refills a run of items at a time; and
            // after the unlock, so that it does not wake into a held lock.
            const bool awaited =
                discarding || (slots.front()->finished && slots.size() - started <= workers.size());
            lock.unlock();
            if (awaited) {
                slotFinished.notify_all();
            }
            lock.lock();
        }
    }

    const Limits limits;
    const Step work;
    const Step handBack;
    std::vector<std::thread> workers;

    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable slotFinished;
    // Submitted and not yet handed back, oldest first; workers have taken the first
    // `started` of them.
    std::deque<std::unique_ptr<Slot>> slots;
    std::size_t started = 0;
    std::size_t queuedBytes = 0;
    bool stopping = false;
    bool discarding = false;
};

#endif
