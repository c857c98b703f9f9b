#include "platform/ui/afx_module.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/kernel/resource_registry.h"

namespace {

std::mutex chainLock;

// Never destroyed: a module still loaded at process exit unregisters itself from its
// own destructor, after the exit handlers have run.
std::vector<CDynLinkLibrary*>& ResourceChain()
{
    static auto* chain = new std::vector<CDynLinkLibrary*>;
    return *chain;
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module)
{
    if (FindModuleResources(module) == nullptr) {
        return FALSE;
    }
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state)
{
    std::lock_guard<std::mutex> guard(chainLock);
    auto& chain = ResourceChain();
    for (auto link = chain.begin(); link != chain.end();) {
        if ((*link)->m_hModule == state.hModule) {
            CDynLinkLibrary* library = *link;
            link = chain.erase(link);
            library->m_hModule = nullptr;
            delete library;
        } else {
            ++link;
        }
    }
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource)
{
    std::lock_guard<std::mutex> guard(chainLock);
    ResourceChain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    if (m_hModule == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> guard(chainLock);
    auto& chain = ResourceChain();
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE state = {nullptr};
    return &state;
}

std::vector<HMODULE> AfxResourceSearchOrder()
{
    std::vector<HMODULE> order{AfxGetModuleState()->m_hCurrentResourceHandle};
    std::lock_guard<std::mutex> guard(chainLock);
    for (const CDynLinkLibrary* library : ResourceChain()) {
        order.push_back(library->m_hResource);
    }
    return order;
}

AfxResourceModuleSwitch::AfxResourceModuleSwitch(HMODULE module)
    : saved(AfxGetModuleState()->m_hCurrentResourceHandle)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = module;
}

AfxResourceModuleSwitch::~AfxResourceModuleSwitch()
{
    AfxGetModuleState()->m_hCurrentResourceHandle = saved;
}
