#include <atomic>
#include <mutex>

#include "platform/kernel/windows.h"

// A fixed table of slots, as many as the system guarantees at the least. Each thread
// keeps its values in a table of its own; a value counts only if it was stored under the
// slot's current generation, so a slot freed and allocated again reads null on every
// thread that has not stored into it since. Plain arrays only: modules still loaded at
// process exit free their slots after the exit handlers have run.
namespace {

constexpr DWORD kSlotCount = 64;

struct ThreadSlot {
    unsigned generation;
    LPVOID value;
};

std::mutex allocationLock;
bool slotsInUse[kSlotCount];
std::atomic<unsigned> slotGenerations[kSlotCount];

thread_local ThreadSlot threadSlots[kSlotCount];

// Generation 0 marks a free slot; allocated slots count from 1.
unsigned LiveGeneration(DWORD index)
{
    return index < kSlotCount ? slotGenerations[index].load(std::memory_order_acquire) : 0;
}

}  // namespace

DWORD TlsAlloc()
{
    std::lock_guard<std::mutex> guard(allocationLock);
    static unsigned nextGeneration = 0;
    for (DWORD index = 0; index < kSlotCount; ++index) {
        if (!slotsInUse[index]) {
            slotsInUse[index] = true;
            slotGenerations[index].store(++nextGeneration, std::memory_order_release);
            return index;
        }
    }
    return TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD index)
{
    std::lock_guard<std::mutex> guard(allocationLock);
    if (index >= kSlotCount || !slotsInUse[index]) {
        return FALSE;
    }
    slotsInUse[index] = false;
    slotGenerations[index].store(0, std::memory_order_release);
    return TRUE;
}

LPVOID TlsGetValue(DWORD index)
{
    const unsigned generation = LiveGeneration(index);
    if (generation == 0 || threadSlots[index].generation != generation) {
        return nullptr;
    }
    return threadSlots[index].value;
}

BOOL TlsSetValue(DWORD index, LPVOID value)
{
    const unsigned generation = LiveGeneration(index);
    if (generation == 0) {
        return FALSE;
    }
    threadSlots[index] = ThreadSlot{generation, value};
    return TRUE;
}
