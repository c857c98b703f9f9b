#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/windows.h"

// Slots live in a per-thread table indexed by slot number; the process-wide list says
// which numbers are taken. A slot freed and allocated again starts out null on every
// thread that has not stored into it since.
namespace {

std::mutex slotLock;
std::vector<bool> slotsInUse;
std::vector<unsigned> slotGenerations;

struct ThreadSlot {
    unsigned generation;
    LPVOID value;
};

thread_local std::unordered_map<DWORD, ThreadSlot> threadSlots;

bool SlotGeneration(DWORD index, unsigned& generation)
{
    std::lock_guard<std::mutex> guard(slotLock);
    if (index >= slotsInUse.size() || !slotsInUse[index]) {
        return false;
    }
    generation = slotGenerations[index];
    return true;
}

}  // namespace

DWORD TlsAlloc()
{
    std::lock_guard<std::mutex> guard(slotLock);
    for (DWORD index = 0; index < slotsInUse.size(); ++index) {
        if (!slotsInUse[index]) {
            slotsInUse[index] = true;
            ++slotGenerations[index];
            return index;
        }
    }
    slotsInUse.push_back(true);
    slotGenerations.push_back(0);
    return static_cast<DWORD>(slotsInUse.size() - 1);
}

BOOL TlsFree(DWORD index)
{
    std::lock_guard<std::mutex> guard(slotLock);
    if (index >= slotsInUse.size() || !slotsInUse[index]) {
        return FALSE;
    }
    slotsInUse[index] = false;
    return TRUE;
}

LPVOID TlsGetValue(DWORD index)
{
    unsigned generation = 0;
    if (!SlotGeneration(index, generation)) {
        return nullptr;
    }
    const auto slot = threadSlots.find(index);
    if (slot == threadSlots.end() || slot->second.generation != generation) {
        return nullptr;
    }
    return slot->second.value;
}

BOOL TlsSetValue(DWORD index, LPVOID value)
{
    unsigned generation = 0;
    if (!SlotGeneration(index, generation)) {
        return FALSE;
    }
    threadSlots[index] = ThreadSlot{generation, value};
    return TRUE;
}
