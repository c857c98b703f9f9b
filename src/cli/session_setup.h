#ifndef TAGSTRIP_CLI_SESSION_SETUP_H
#define TAGSTRIP_CLI_SESSION_SETUP_H

#include <memory>
#include <string>

#include "cli/command_line.h"
#include "host/host_session.h"

// --config-dir, else $XDG_CONFIG_HOME/tagstrip, else ~/.config/tagstrip; created if missing.
bool ConfigDirectory(const ParsedCommandLine& commandLine, std::string& directory, std::string& error);

// --module, else "Tagstrip.Analyzer" beside the running program.
std::string ModulePath(const ParsedCommandLine& commandLine);

// Opens the session that the command line names; on failure prints the reason.
std::unique_ptr<HostSession> OpenSession(const ParsedCommandLine& commandLine);

#endif
