#include "cli/session_setup.h"

#include <iostream>
#include <unistd.h>

#include "host/plugin_settings.h"
#include "host/settings_check.h"
#include "mailbox/file_io.h"

namespace {

std::string ProgramDirectory()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? DirectoryOf(std::string(path, static_cast<std::size_t>(length))) : ".";
}

std::optional<std::string> ExplicitDirectory(const ParsedCommandLine& commandLine)
{
    if (!commandLine.Has("--config-dir")) {
        return std::nullopt;
    }
    return commandLine.Value("--config-dir");
}

}  // namespace

bool FindSettings(const ParsedCommandLine& commandLine, SettingsAccess access, SettingsLocation& location,
                  std::string& error)
{
    if (!LocateSettings(ExplicitDirectory(commandLine), access, location, error)) {
        return false;
    }
    if (!location.warning.empty()) {
        std::cerr << "tagstrip: warning: " << location.warning << '\n';
    }
    return true;
}

void WarnAboutSettings(const std::string& iniPath)
{
    for (const SettingsProblem& problem : CheckPluginSettings(iniPath)) {
        std::cerr << "tagstrip: warning: " << problem.text << '\n';
    }
}

std::string ModulePath(const ParsedCommandLine& commandLine)
{
    return commandLine.Value("--module", ProgramDirectory() + "/Tagstrip.Analyzer");
}

std::unique_ptr<HostSession> OpenSession(const ParsedCommandLine& commandLine, SettingsAccess access)
{
    SettingsLocation location;
    std::string error;
    std::unique_ptr<HostSession> session;
    if (FindSettings(commandLine, access, location, error)) {
        WarnAboutSettings(PluginIniPath(ModulePath(commandLine), location.directory));
        session = HostSession::Open(ModulePath(commandLine), location.directory, error);
    }
    if (session == nullptr) {
        std::cerr << "tagstrip: " << error << '\n';
    }
    return session;
}
