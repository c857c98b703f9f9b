#include "cli/config_command.h"

#include <iostream>

#include "cli/command.h"
#include "cli/settings_window.h"
#include "platform/ui/terminal/terminal_front_end.h"

namespace {

// The analyzer that the one argument names, or the first to run without one.
const HostedAnalyzer* ChosenAnalyzer(const HostSession& session, const std::vector<std::string>& arguments)
{
    if (arguments.size() > 1) {
        std::cerr << "tagstrip: config takes at most one analyzer name\n";
        return nullptr;
    }
    if (arguments.empty()) {
        return session.Analyzers().front().get();
    }
    const HostedAnalyzer* analyzer = session.FindAnalyzer(arguments.front());
    if (analyzer == nullptr) {
        std::cerr << "tagstrip: no analyzer named '" << arguments.front() << "'; there are:";
        for (const std::unique_ptr<HostedAnalyzer>& candidate : session.Analyzers()) {
            std::cerr << ' ' << candidate->Name();
        }
        std::cerr << '\n';
    }
    return analyzer;
}

}  // namespace

// The page comes from the chosen analyzer's module; the window deletes it through its
// virtual destructor.
int RunConfigCommand(HostSession& session, const std::vector<std::string>& arguments)
{
    const HostedAnalyzer* analyzer = ChosenAnalyzer(session, arguments);
    if (analyzer == nullptr) {
        return kExitUsage;
    }
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
    window.SetPage(analyzer->Module().GetAnalyzerConfigPage(analyzer->Instance(), &window));
    window.GetControlBeforePage()->SetFocus();
    window.RunModalLoop();
    return kExitOk;
}
