// A loaded module whose file name is known and has an extension: the shared platform
// library, "libtagstrip-platform.so".
#ifndef TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H
#define TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H

#include <dlfcn.h>

#include "platform/kernel/windows.h"

inline HMODULE PlatformLibrary()
{
    Dl_info info;
    return dladdr(reinterpret_cast<const void*>(&TlsAlloc), &info) != 0 ? info.dli_fbase : nullptr;
}

#endif
