#include <ostream>

#include "cli/command.h"
#include "cli/config_command.h"
#include "cli/standard_streams.h"

// Stands in for the settings window in builds without it.
int RunConfigCommand(const HostSession&, const HostedAnalyzer&)
{
    ErrorStream() << "tagstrip: the settings window is not built\n";
    return kExitUsage;
}
