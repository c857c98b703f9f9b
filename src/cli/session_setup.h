#ifndef TAGSTRIP_CLI_SESSION_SETUP_H
#define TAGSTRIP_CLI_SESSION_SETUP_H

#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "host/host_session.h"
#include "host/settings_location.h"

// The settings directory for --config-dir or the host's lookup. Prints the warning when
// the built-in settings apply; false with error set when there is no usable directory.
bool FindSettings(const ParsedCommandLine& commandLine, SettingsAccess access, SettingsLocation& location,
                  std::string& error);

// One warning on standard error for each problem of an analyzer's ini file (of an
// analyzer the host knows).
void WarnAboutSettings(const std::string& iniPath);

// The same for the ini file of each module.
void WarnAboutSettings(const std::vector<std::string>& modulePaths, const std::string& directory);

constexpr char kTagstripModuleName[] = "Tagstrip.Analyzer";

// The Tagstrip analyzer's module, whose settings the settings command shows: --module,
// else "Tagstrip.Analyzer" where FindModule finds it for the running program.
std::string ModulePath(const ParsedCommandLine& commandLine);

// Every --module given, else the modules FindAnalyzerModules finds for the running program.
std::vector<std::string> ModulePaths(const ParsedCommandLine& commandLine);

// Opens the session that the command line names (--raw turns decoding off); on failure
// prints the reason.
std::unique_ptr<HostSession> OpenSession(const ParsedCommandLine& commandLine,
                                         SettingsAccess access = SettingsAccess::Read);

#endif
