// The handle of the loaded shared object that holds an address.
#ifndef TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H
#define TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H

#include <dlfcn.h>

#include "platform/windows.h"

inline HMODULE ModuleHolding(const void* address)
{
    Dl_info info;
    return dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

// The shared platform library: a module whose file name is known and has an extension.
inline HMODULE PlatformLibrary()
{
    return ModuleHolding(reinterpret_cast<const void*>(&TlsAlloc));
}

#endif
