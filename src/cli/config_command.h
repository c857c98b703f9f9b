#ifndef TAGSTRIP_CLI_CONFIG_COMMAND_H
#define TAGSTRIP_CLI_CONFIG_COMMAND_H

#include <string>
#include <vector>

#include "host/host_session.h"

// Opens the analyzer's settings window for the session's instance. arguments are the
// words after "tagstrip config" that are not common options. Returns the exit status.
int RunConfigCommand(HostSession& session, const std::vector<std::string>& arguments);

#endif
