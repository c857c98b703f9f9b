#include <iostream>

#include "cli/command.h"
#include "cli/config_command.h"

// Stands in for the settings window in builds without it.
int RunConfigCommand(HostSession&, const std::vector<std::string>&)
{
    std::cerr << "tagstrip: the settings window is not built\n";
    return kExitUsage;
}
