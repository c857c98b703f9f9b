// Where a module's resources are found. On this platform a module's resource script is
// compiled into the module as data, and the module's loader entry registers it under the
// module handle before DllMain runs, much as the system maps a module's resource section.
#ifndef TAGSTRIP_PLATFORM_KERNEL_RESOURCE_REGISTRY_H
#define TAGSTRIP_PLATFORM_KERNEL_RESOURCE_REGISTRY_H

#include "platform/kernel/windows.h"

struct ResourceScript;

void RegisterModuleResources(HMODULE module, const ResourceScript* script);
void UnregisterModuleResources(HMODULE module);

// The resources of a module, or null when it registered none.
const ResourceScript* FindModuleResources(HMODULE module);

#endif
