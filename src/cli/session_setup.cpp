#include "cli/session_setup.h"

#include <ostream>

#include "cli/standard_streams.h"
#include "common/string_helpers.h"
#include "host/analyzer_modules.h"
#include "host/plugin_settings.h"
#include "host/settings_check.h"

namespace {

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
        ErrorStream() << "tagstrip: warning: " << location.warning << '\n';
    }
    return true;
}

void WarnAboutSettings(const std::string& iniPath)
{
    const AnalyzerSchema* schema = FindSchemaByIni(iniPath);
    if (schema == nullptr) {
        return;
    }
    for (const SettingsProblem& problem : CheckAnalyzerSettings(iniPath, *schema)) {
        ErrorStream() << "tagstrip: warning: " << problem.text << '\n';
    }
}

void WarnAboutSettings(const std::vector<std::string>& modulePaths, const std::string& directory)
{
    for (const std::string& modulePath : modulePaths) {
        WarnAboutSettings(PluginIniPath(modulePath, directory));
    }
}

std::string ModulePath(const ParsedCommandLine& commandLine)
{
    return commandLine.Value("--module", FindModule(RunningProgramDirectory(), kTagstripModuleName));
}

std::vector<std::string> ModulePaths(const ParsedCommandLine& commandLine)
{
    if (commandLine.Has("--module")) {
        return commandLine.Values("--module");
    }
    return FindAnalyzerModules(RunningProgramDirectory());
}

std::unique_ptr<HostSession> OpenSession(const ParsedCommandLine& commandLine, SettingsAccess access)
{
    SettingsLocation location;
    std::string error;
    std::unique_ptr<HostSession> session;
    if (FindSettings(commandLine, access, location, error)) {
        const std::vector<std::string> modulePaths = ModulePaths(commandLine);
        WarnAboutSettings(modulePaths, location.directory);
        session = HostSession::Open(modulePaths, location.directory, error);
    }
    if (session == nullptr) {
        ErrorStream() << "tagstrip: " << error << '\n';
    } else {
        session->SetTransferDecoding(!commandLine.Has("--raw"));
    }
    return session;
}
