#include "cli/config_command.h"

#include <iostream>

#include "cli/command.h"
#include "cli/settings_window.h"
#include "platform/ui/terminal/terminal_front_end.h"

// The page comes from the chosen analyzer's module; the window deletes it through its
// virtual destructor.
int RunConfigCommand(const HostSession& session, const HostedAnalyzer& analyzer)
{
    std::string error;
    std::unique_ptr<TerminalFrontEnd> terminal = TerminalFrontEnd::Open(error);
    if (terminal == nullptr) {
        std::cerr << "tagstrip: " << error << "\n";
        return kExitUsage;
    }
    SettingsWindow window;
    for (const std::unique_ptr<HostedAnalyzer>& listed : session.Analyzers()) {
        window.AddAnalyzer(listed->Name().c_str());
    }
    window.SetPage(analyzer.Module().GetAnalyzerConfigPage(analyzer.Instance(), &window));
    window.GetControlBeforePage()->SetFocus();
    window.RunModalLoop();
    return kExitOk;
}
