#include "platform/resource_registry.h"

#include <map>
#include <mutex>

namespace {

std::mutex registryLock;

std::map<HMODULE, const ResourceScript*>& Registry()
{
    static std::map<HMODULE, const ResourceScript*> registry;
    return registry;
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
