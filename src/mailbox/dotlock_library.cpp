#include "mailbox/dotlock_library.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

DotlockLibrary Load()
{
    DotlockLibrary functions;
    void* library = dlopen(TAGSTRIP_LOCKFILE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        functions.error = dlerror();
    } else if (!Resolve(library, "lockfile_create", functions.create) ||
               !Resolve(library, "lockfile_remove", functions.remove) ||
               !Resolve(library, "lockfile_check", functions.check) ||
               !Resolve(library, "lockfile_touch", functions.touch)) {
        functions.error = std::string(TAGSTRIP_LOCKFILE_LIBRARY ": ") + dlerror();
    }
    return functions;
}

}  // namespace

const DotlockLibrary& DotlockLibrary::Get()
{
    static const DotlockLibrary functions = Load();
    return functions;
}
