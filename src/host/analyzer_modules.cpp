#include "host/analyzer_modules.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/string_helpers.h"

#ifndef TAGSTRIP_PRIVATE_LIBDIR
#define TAGSTRIP_PRIVATE_LIBDIR "lib/tagstrip"
#endif

namespace {

constexpr char kModuleSuffix[] = ".Analyzer";

std::string ParentOf(const std::string& directory)
{
    std::size_t slash = directory.rfind('/');
    if (slash == std::string::npos) {
        return "..";
    }
    return slash == 0 ? std::string() : directory.substr(0, slash);
}

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string RunningProgramDirectory()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return ".";
    }
    std::string program(path, static_cast<std::size_t>(length));
    std::size_t slash = program.rfind('/');
    return slash == 0 ? "/" : program.substr(0, slash);
}

std::vector<std::string> ModuleDirectories(const std::string& programDirectory)
{
    return {programDirectory, ParentOf(programDirectory) + "/" TAGSTRIP_PRIVATE_LIBDIR};
}

std::vector<std::string> AnalyzerModulesIn(const std::string& directory)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (EndsWith(name, kModuleSuffix) && name.size() > std::strlen(kModuleSuffix)) {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> FindAnalyzerModules(const std::string& programDirectory)
{
    for (const std::string& directory : ModuleDirectories(programDirectory)) {
        std::vector<std::string> modules = AnalyzerModulesIn(directory);
        if (!modules.empty()) {
            return modules;
        }
    }
    return {};
}

std::string FindModule(const std::string& programDirectory, const std::string& fileName)
{
    std::vector<std::string> directories = ModuleDirectories(programDirectory);
    for (const std::string& directory : directories) {
        if (IsFile(directory + "/" + fileName)) {
            return directory + "/" + fileName;
        }
    }
    return directories.back() + "/" + fileName;
}
