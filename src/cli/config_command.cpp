#include "cli/config_command.h"

#include <iostream>

#include "cli/command.h"
#include "cli/settings_window.h"
#include "platform/ui/terminal/terminal_front_end.h"

// The page comes from the module; the window deletes it through its virtual destructor.
int RunConfigCommand(HostSession& session, const std::vector<std::string>& arguments)
{
    if (!arguments.empty()) {
        std::cerr << "tagstrip: config takes no arguments\n";
        return kExitUsage;
    }
    std::string error;
    std::unique_ptr<TerminalFrontEnd> terminal = TerminalFrontEnd::Open(error);
    if (terminal == nullptr) {
        std::cerr << "tagstrip: " << error << "\n";
        return kExitUsage;
    }
    SettingsWindow window;
    window.AddAnalyzer(session.Name().c_str());
    window.SetPage(session.Module().GetAnalyzerConfigPage(session.Instance(), &window));
    window.GetControlBeforePage()->SetFocus();
    window.RunModalLoop();
    return kExitOk;
}
