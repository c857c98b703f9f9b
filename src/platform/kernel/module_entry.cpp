// The loader's part of a module on this platform, linked into each module: on load it
// maps the module's resources under the module handle and calls the module's DllMain
// with process attach; on unload, process detach, then the resources go.
#include <dlfcn.h>

#include "platform/kernel/resource_registry.h"
#include "platform/kernel/windows.h"

struct ResourceScript;
extern const ResourceScript kModuleResources;

// Every module defines its own entry routine.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

HMODULE loadedModule = nullptr;

// The module's handle is the load base of the object that holds this very function.
HMODULE ThisModule()
{
    Dl_info info;
    return dladdr(reinterpret_cast<void*>(&ThisModule), &info) != 0 ? info.dli_fbase : nullptr;
}

// A failure to attach cannot refuse the load from here; DllMain records it instead.
__attribute__((constructor)) void AttachModule()
{
    loadedModule = ThisModule();
    try {
        RegisterModuleResources(loadedModule, &kModuleResources);
        DllMain(loadedModule, DLL_PROCESS_ATTACH, nullptr);
    } catch (...) {
    }
}

__attribute__((destructor)) void DetachModule()
{
    DllMain(loadedModule, DLL_PROCESS_DETACH, nullptr);
    UnregisterModuleResources(loadedModule);
}

}  // namespace
