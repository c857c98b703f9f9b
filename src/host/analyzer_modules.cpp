#include "host/analyzer_modules.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

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

bool IsModuleName(std::string_view name)
{
    constexpr std::string_view suffix = kModuleSuffix;
    return name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

// What goes before a file name to make its path in directory.
std::string JoinedPrefix(const std::string& directory)
{
    return directory.empty() || directory.back() == '/' ? directory : directory + '/';
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
    return {ParentOf(programDirectory) + "/" TAGSTRIP_PRIVATE_LIBDIR, programDirectory};
}

// Read with readdir, every name compared in place: a program's directory may be /usr/bin,
// with thousands of entries, listed on every run of the filter.
std::vector<std::string> AnalyzerModulesIn(const std::string& directory)
{
    std::vector<std::string> paths;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) {
        return paths;
    }
    const std::string prefix = JoinedPrefix(directory);
    while (const dirent* entry = readdir(listing)) {
        if (IsModuleName(entry->d_name)) {
            paths.push_back(prefix + entry->d_name);
        }
    }
    closedir(listing);
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
    return directories.front() + "/" + fileName;
}
