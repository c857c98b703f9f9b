#include "platform/kernel/resource_registry.h"

#include <map>
#include <mutex>

namespace {

std::mutex registryLock;

// Never destroyed: a module still loaded at process exit unregisters itself from its
// own destructor, after the exit handlers have run.
std::map<HMODULE, const ResourceScript*>& Registry()
{
    static auto* registry = new std::map<HMODULE, const ResourceScript*>;
    return *registry;
}

}  // namespace

void RegisterModuleResources(HMODULE module, const ResourceScript* script)
{
    std::lock_guard<std::mutex> guard(registryLock);
    Registry()[module] = script;
}

void UnregisterModuleResources(HMODULE module)
{
    std::lock_guard<std::mutex> guard(registryLock);
    Registry().erase(module);
}

const ResourceScript* FindModuleResources(HMODULE module)
{
    std::lock_guard<std::mutex> guard(registryLock);
    const auto entry = Registry().find(module);
    return entry == Registry().end() ? nullptr : entry->second;
}
