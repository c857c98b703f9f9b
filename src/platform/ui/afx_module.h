// Extension-module registration and the current resource module of the dialog framework.
#ifndef TAGSTRIP_PLATFORM_UI_AFX_MODULE_H
#define TAGSTRIP_PLATFORM_UI_AFX_MODULE_H

#include <vector>

#include "platform/kernel/windows.h"

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Fails when the module has no resources to offer.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state);

// Puts a registered module into the framework's resource chain, which lookups of dialog
// templates, strings, icons and accelerators search after the current resource module.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    virtual ~CDynLinkLibrary();

    HMODULE m_hModule;
    HMODULE m_hResource;
};

struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentResourceHandle;
};

AFX_MODULE_STATE* AfxGetModuleState();

// The modules searched for the framework's dialog templates and strings, in order: the
// current resource module, then the resource chain from the oldest registration on.
std::vector<HMODULE> AfxResourceSearchOrder();

// Makes a module the current resource module for the lifetime of the object.
class AfxResourceModuleSwitch {
public:
    explicit AfxResourceModuleSwitch(HMODULE module);
    ~AfxResourceModuleSwitch();
    AfxResourceModuleSwitch(const AfxResourceModuleSwitch&) = delete;
    AfxResourceModuleSwitch& operator=(const AfxResourceModuleSwitch&) = delete;

private:
    HINSTANCE saved;
};

#endif
