#include <iostream>

#include "cli/command.h"
#include "cli/config_command.h"

// Stands in for the settings window in builds without it.
int RunConfigCommand(const HostSession&, const HostedAnalyzer&)
{
    std::cerr << "tagstrip: the settings window is not built\n";
    return kExitUsage;
}
