#include "cli/config_command.h"

#include <dlfcn.h>

#include <iostream>

#include "cli/command.h"
#include "cli/settings_window_entry.h"
#include "page/analyzer_container.h"

namespace {

// Found through the program's own library path, beside the platform library.
ShowSettingsWindowFunction LoadSettingsWindow(std::string& error)
{
    void* library = dlopen(kSettingsWindowLibrary, RTLD_NOW | RTLD_LOCAL);
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
        std::cerr << "tagstrip: " << error << "\n";
        return kExitUsage;
    }
    return kExitOk;
}
