// The remote-content analyzer's ten entry points. The host holds the instance as an
// opaque pointer, so this module hands out its own RemoteInstance. No exception leaves
// the module: an entry point that fails returns its failure value.
#include <memory>
#include <utility>

#include "platform/ui/afx_module.h"
#include "remote/module_state.h"
#include "remote/remote_analysis.h"
#include "remote/remote_instance.h"
#include "remote/remote_page.h"
#include "remote/remote_resource.h"

namespace {

constexpr int kAnalyzerType = 3;

template <typename Body>
auto Guarded(decltype(std::declval<Body>()()) failure, Body body) noexcept -> decltype(body())
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

int NoRightClick() noexcept
{
    return 0;
}

}  // namespace

extern "C" {

RemoteInstance* InitAnalyzer(const char* hostDirectory, const char* iniDirectory)
{
    return Guarded(static_cast<RemoteInstance*>(nullptr), [&] {
        if (!RemoteModuleRegistered()) {
            return static_cast<RemoteInstance*>(nullptr);
        }
        std::unique_ptr<RemoteInstance> created(new RemoteInstance(RemoteModuleHandle()));
        created->SetIniDirectory(iniDirectory);
        created->SetHostDirectory(hostDirectory);
        created->LoadSettings();
        return created.release();
    });
}

int UnInitAnalyzer(RemoteInstance* instance) noexcept
{
    delete instance;
    return 0;
}

int GetAnalyzerName(RemoteInstance*, CString* name)
{
    return Guarded(0, [&] {
        *name = kRemoteAnalyzerName;
        return 0;
    });
}

int GetAnalyzerOrder(RemoteInstance* instance)
{
    return Guarded(kRemoteDefaultOrder, [&] { return instance->GetOrder(); });
}

int GetAnalyzerType() noexcept
{
    return kAnalyzerType;
}

int GetAnalyzerIconID(RemoteInstance*) noexcept
{
    return IDI_REMOTE;
}

CDialog* GetAnalyzerConfigPage(RemoteInstance* instance, CWnd* parent)
{
    return Guarded(static_cast<CDialog*>(nullptr), [&] {
        AfxResourceModuleSwitch moduleResources(RemoteModuleHandle());
        RemotePage* page = new RemotePage(parent, instance);
        page->Create(IDD_REMOTE_PAGE, parent);
        return static_cast<CDialog*>(page);
    });
}

int GetAnalyzerRightClickMenu() noexcept
{
    return NoRightClick();
}

int DoAnalyzerRightClick() noexcept
{
    return NoRightClick();
}

int Analyze(RemoteInstance* instance, AnalysisRecord* record)
{
    return Guarded(0, [&] { return AnalyzeRemote(*instance, *record) ? 1 : 0; });
}

}  // extern "C"
