// The loader's part of a module on Windows. The system calls the module's DllMain itself;
// the module's resource script is registered under the module's handle before that (the
// runtime constructs a module's statics before it calls DllMain with process attach) and
// unregistered after process detach.
#include "platform/kernel/resource_registry.h"
#include "platform/kernel/windows.h"

struct ResourceScript;
extern const ResourceScript kModuleResources;

// The linker's name for the module's own image, whose address is the module handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HMODULE ThisModule()
{
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

// A module whose resources cannot be registered has none: DllMain then refuses the load.
class ModuleResources {
public:
    ModuleResources()
    {
        try {
            RegisterModuleResources(ThisModule(), &kModuleResources);
        } catch (...) {
        }
    }
    ~ModuleResources() { UnregisterModuleResources(ThisModule()); }
    ModuleResources(const ModuleResources&) = delete;
    ModuleResources& operator=(const ModuleResources&) = delete;
};

const ModuleResources registration;

}  // namespace
