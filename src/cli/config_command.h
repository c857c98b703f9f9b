#ifndef TAGSTRIP_CLI_CONFIG_COMMAND_H
#define TAGSTRIP_CLI_CONFIG_COMMAND_H

#include "host/host_session.h"

// Opens the settings window on the page of one of the session's analyzers, with every
// analyzer of the session in its list. Returns the exit status.
int RunConfigCommand(const HostSession& session, const HostedAnalyzer& analyzer);

#endif
