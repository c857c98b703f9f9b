#include "cli/config_command.h"

#include <dlfcn.h>

#include <ostream>

#include "cli/command.h"
#include "cli/settings_window_entry.h"
#include "cli/standard_streams.h"
#include "page/analyzer_container.h"
#include "platform/kernel/windows.h"

namespace {

// The library lies beside the platform library, in the build tree as when installed. It
// is opened by its full path: a bare name would be looked up through the RUNPATH of
// whoever calls dlopen, which is not the program when a sanitizer wraps dlopen.
std::string SettingsWindowPath()
{
    Dl_info platform{};
    if (dladdr(reinterpret_cast<void*>(&LoadLibraryA), &platform) == 0 || platform.dli_fname == nullptr) {
        return kSettingsWindowLibrary;
    }
    const std::string platformPath = platform.dli_fname;
    return platformPath.substr(0, platformPath.rfind('/') + 1) + kSettingsWindowLibrary;
}

ShowSettingsWindowFunction LoadSettingsWindow(std::string& error)
{
    void* library = dlopen(SettingsWindowPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = std::string("cannot load the settings window: ") + dlerror();
        return nullptr;
    }
    auto show = reinterpret_cast<ShowSettingsWindowFunction>(dlsym(library, kShowSettingsWindow));
    if (show == nullptr) {
        error = std::string("the settings window library does not export ") + kShowSettingsWindow;
    }
    return show;
}

}  // namespace

int RunConfigCommand(const HostSession& session, const HostedAnalyzer& analyzer)
{
    std::string error;
    ShowSettingsWindowFunction show = LoadSettingsWindow(error);
    SettingsWindowRequest request;
    for (const std::unique_ptr<HostedAnalyzer>& listed : session.Analyzers()) {
        request.analyzerNames.push_back(listed->Name());
    }
    request.makePage = [&analyzer](AnalyzerContainer* window) {
        return analyzer.Module().GetAnalyzerConfigPage(analyzer.Instance(), window);
    };
    if (show == nullptr || !show(request, error)) {
        ErrorStream() << "tagstrip: " << error << "\n";
        return kExitUsage;
    }
    return kExitOk;
}
