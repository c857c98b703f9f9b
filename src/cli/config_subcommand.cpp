#include "cli/command.h"
#include "cli/config_command.h"
#include "cli/session_setup.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip config\n"
    "Opens the analyzer's settings window, as the mail filter shows it, to view and\n"
    "change the settings in the ini file of --config-dir.\n";

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
