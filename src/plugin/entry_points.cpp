// Each entry point that receives an instance makes it the calling thread's current
// instance before anything else. No exception leaves the module: an entry point that
// fails returns its failure value.
#include <memory>
#include <utility>

#include "analysis/filter_engine.h"
#include "page/config_page.h"
#include "plugin/analyzer_instance.h"
#include "plugin/current_instance.h"
#include "plugin/entry_points.h"
#include "resources/resource.h"

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

// Both right-click entry points: the host offers them; this analyzer does nothing.
int NoRightClick() noexcept
{
    return 0;
}

}  // namespace

extern "C" {

AnalyzerInstance* InitAnalyzer(const char* hostDirectory, const char* iniDirectory)
{
    return Guarded(static_cast<AnalyzerInstance*>(nullptr), [&] {
        if (!ModuleRegistered()) {
            return static_cast<AnalyzerInstance*>(nullptr);
        }
        std::unique_ptr<AnalyzerInstance> created(new AnalyzerInstance(ModuleHandle()));
        SetCurrentInstance(created.get());
        CurrentInstance()->SetIniDirectory(iniDirectory);
        CurrentInstance()->SetHostDirectory(hostDirectory);
        CurrentInstance()->LoadSettings();
        created.release();
        return CurrentInstance();
    });
}

int UnInitAnalyzer(AnalyzerInstance* instance) noexcept
{
    delete instance;
    return 0;
}

int GetAnalyzerName(AnalyzerInstance* instance, CString* name)
{
    return Guarded(0, [&] {
        SetCurrentInstance(instance);
        *name = kAnalyzerName;
        return 0;
    });
}

int GetAnalyzerOrder(AnalyzerInstance* instance)
{
    return Guarded(kDefaultOrder, [&] {
        SetCurrentInstance(instance);
        return CurrentInstance()->GetOrder();
    });
}

int GetAnalyzerType() noexcept
{
    return kAnalyzerType;
}

int GetAnalyzerIconID(AnalyzerInstance* instance)
{
    return Guarded(IDI_ANALYZER, [&] {
        SetCurrentInstance(instance);
        return IDI_ANALYZER;
    });
}

CDialog* GetAnalyzerConfigPage(AnalyzerInstance* instance, CWnd* parent)
{
    return Guarded(static_cast<CDialog*>(nullptr), [&] {
        SetCurrentInstance(instance);
        AfxResourceModuleSwitch pluginResources(ModuleHandle());
        ConfigPage* page = new ConfigPage(parent);
        page->Create(IDD_CONFIG_PAGE, parent);
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

int Analyze(AnalyzerInstance* instance, AnalysisRecord* record)
{
    return Guarded(0, [&] {
        SetCurrentInstance(instance);
        return AnalyzeMessage(*record) ? 1 : 0;
    });
}

}  // extern "C"
