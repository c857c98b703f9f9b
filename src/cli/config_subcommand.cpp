#include <ostream>

#include "cli/command.h"
#include "cli/config_command.h"
#include "cli/session_setup.h"
#include "cli/standard_streams.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip config [ANALYZER]\n"
    "Opens the settings window, as the mail filter shows it, with the page of the named\n"
    "analyzer (any letter case; default the first to run, Tagstrip), to view and change\n"
    "its settings in its ini file in --config-dir. The list shows every analyzer loaded.\n";

// The analyzer that the one argument names, or the first to run without one.
const HostedAnalyzer* ChosenAnalyzer(const HostSession& session, const std::vector<std::string>& arguments)
{
    if (arguments.size() > 1) {
        ErrorStream() << "tagstrip: config takes at most one analyzer name\n";
        return nullptr;
    }
    if (arguments.empty()) {
        return session.Analyzers().front().get();
    }
    const HostedAnalyzer* analyzer = session.FindAnalyzer(arguments.front());
    if (analyzer == nullptr) {
        ErrorStream() << "tagstrip: no analyzer named '" << arguments.front() << "'; there are:";
        for (const std::unique_ptr<HostedAnalyzer>& candidate : session.Analyzers()) {
            ErrorStream() << ' ' << candidate->Name();
        }
        ErrorStream() << '\n';
    }
    return analyzer;
}

int RunConfig(const ParsedCommandLine& commandLine)
{
    std::unique_ptr<HostSession> session = OpenSession(commandLine, SettingsAccess::Write);
    if (session == nullptr) {
        return kExitUsage;
    }
    const HostedAnalyzer* analyzer = ChosenAnalyzer(*session, commandLine.arguments);
    return analyzer == nullptr ? kExitUsage : RunConfigCommand(*session, *analyzer);
}

}  // namespace

const Command kConfigCommand = {
    "config",
    "open the analyzer's settings window",
    kHelp,
    {},
    RunConfig,
};
