#include "plugin/current_instance.h"

#include "platform/ui/afx_module.h"

namespace {

HMODULE moduleHandle = nullptr;
DWORD tlsIndex = TLS_OUT_OF_INDEXES;
AFX_EXTENSION_MODULE extensionModule = {FALSE, nullptr, nullptr};

}  // namespace

HMODULE ModuleHandle()
{
    return moduleHandle;
}

AnalyzerInstance* CurrentInstance()
{
    return static_cast<AnalyzerInstance*>(TlsGetValue(tlsIndex));
}

void SetCurrentInstance(AnalyzerInstance* instance)
{
    TlsSetValue(tlsIndex, instance);
}

// The loader of this platform cannot refuse a load from inside the module, so a failed
// registration is remembered and InitAnalyzer declines to create instances.
bool ModuleRegistered()
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
        tlsIndex = TlsAlloc();
        return TRUE;
    case DLL_PROCESS_DETACH:
        TlsFree(tlsIndex);
        tlsIndex = TLS_OUT_OF_INDEXES;
        AfxTermExtensionModule(extensionModule);
        return TRUE;
    default:
        return TRUE;
    }
}
