// A loaded module whose file name is known and has an extension: the one that holds the
// platform layer, "libtagstrip-platform.so" where that is a shared library of its own,
// else the test program.
#ifndef TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H
#define TAGSTRIP_TESTS_COMMON_MODULE_HANDLE_H

#include "platform/kernel/resource_registry.h"
#include "platform/kernel/windows.h"

inline HMODULE PlatformLibrary()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&RegisterModuleResources), &module);
    return module;
}

#endif
