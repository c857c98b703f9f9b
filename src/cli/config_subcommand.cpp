#include "cli/command.h"
#include "cli/config_command.h"
#include "cli/session_setup.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip config [ANALYZER]\n"
    "Opens the settings window, as the mail filter shows it, with the page of the named\n"
    "analyzer (any letter case; default the first to run, Tagstrip), to view and change\n"
    "its settings in its ini file in --config-dir. The list shows every analyzer loaded.\n";

int RunConfig(const ParsedCommandLine& commandLine)
{
    std::unique_ptr<HostSession> session = OpenSession(commandLine, SettingsAccess::Write);
    return session == nullptr ? kExitUsage : RunConfigCommand(*session, commandLine.arguments);
}

}  // namespace

const Command kConfigCommand = {
    "config",
    "open the analyzer's settings window",
    kHelp,
    {},
    RunConfig,
};
