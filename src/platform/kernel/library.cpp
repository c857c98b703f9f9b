// Modules loaded at run time. A module handle is the load address of a shared object,
// as everywhere in this layer; the dynamic linker's own handle is looked up from it on
// each call, so nothing is kept here.
#include <dlfcn.h>
#include <link.h>

#include "platform/kernel/windows.h"

namespace {

// The dynamic linker's handle of the object mapped at module, with a reference of its
// own that the caller drops with dlclose; null for no such object.
void* OpenLoaded(HMODULE module)
{
    Dl_info info;
    if (dladdr(module, &info) == 0 || info.dli_fbase != module || info.dli_fname == nullptr) {
        return nullptr;
    }
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    void* handle = fileName != nullptr ? dlopen(fileName, RTLD_NOW | RTLD_LOCAL) : nullptr;
    link_map* map = nullptr;
    Dl_info info;
    if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || dladdr(map->l_ld, &info) == 0) {
        if (handle != nullptr) {
            dlclose(handle);
        }
        return nullptr;
    }
    return info.dli_fbase;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
    void* handle = OpenLoaded(module);
    if (handle == nullptr) {
        return nullptr;
    }
    void* address = dlsym(handle, name);
    dlclose(handle);
    return reinterpret_cast<FARPROC>(address);
}

BOOL FreeLibrary(HMODULE module)
{
    void* handle = OpenLoaded(module);
    if (handle == nullptr) {
        return FALSE;
    }
    dlclose(handle);
    return dlclose(handle) == 0 ? TRUE : FALSE;
}

BOOL GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module)
{
    Dl_info info;
    const DWORD supported = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (module == nullptr || flags != supported || dladdr(moduleName, &info) == 0) {
        return FALSE;
    }
    *module = info.dli_fbase;
    return TRUE;
}
