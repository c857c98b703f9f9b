#include "host/plugin_settings.h"

#include "platform/kernel/windows.h"

namespace {

constexpr int kDefaultActive = 1;

}  // namespace

std::string PluginIniPath(const std::string& modulePath, const std::string& directory)
{
    std::size_t lastDot = modulePath.rfind('.');
    std::string iniPath = lastDot == std::string::npos ? std::string() : modulePath.substr(0, lastDot + 1) + "ini";
    std::size_t lastSlash = iniPath.rfind('/');
    std::string fileName = lastSlash == std::string::npos ? iniPath : iniPath.substr(lastSlash + 1);
    return directory + (!directory.empty() && directory.back() == '/' ? "" : "/") + fileName;
}

bool AnalyzerActive(const std::string& iniPath)
{
    return GetPrivateProfileIntA("General", "Active", kDefaultActive, iniPath.c_str()) != 0;
}

bool AnyAnalyzerActive(const std::vector<std::string>& modulePaths, const std::string& directory)
{
    for (const std::string& modulePath : modulePaths) {
        if (AnalyzerActive(PluginIniPath(modulePath, directory))) {
            return true;
        }
    }
    return false;
}
