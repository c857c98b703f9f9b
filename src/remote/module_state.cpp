#include "remote/module_state.h"

#include "platform/ui/afx_module.h"

namespace {

HMODULE moduleHandle = nullptr;
AFX_EXTENSION_MODULE extensionModule = {FALSE, nullptr, nullptr};

}  // namespace

HMODULE RemoteModuleHandle()
{
    return moduleHandle;
}

bool RemoteModuleRegistered()
{
    return extensionModule.bInitialized != FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    moduleHandle = instance;
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (!AfxInitExtensionModule(extensionModule, instance)) {
            return FALSE;
        }
        new CDynLinkLibrary(extensionModule);
        return TRUE;
    case DLL_PROCESS_DETACH:
        AfxTermExtensionModule(extensionModule);
        return TRUE;
    default:
        return TRUE;
    }
}
