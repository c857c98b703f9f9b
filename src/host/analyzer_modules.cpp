#include "host/analyzer_modules.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/string_helpers.h"

std::vector<std::string> AnalyzerModulesIn(const std::string& directory)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (EndsWith(name, ".Analyzer") && name.size() > std::strlen(".Analyzer")) {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}
