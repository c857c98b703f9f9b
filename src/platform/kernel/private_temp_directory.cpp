#include "platform/kernel/private_temp_directory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <signal.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/kernel/kernel.h"

namespace {

const char kPrefix[] = "tagstrip-";

std::string SystemTempPath()
{
    char buffer[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string directory = length != 0 && length < sizeof buffer ? std::string(buffer, length) : "/tmp/";
    return directory.back() == '/' ? directory : directory + '/';
}

// The writer's process id in "tagstrip-<pid>-XXXXXX", or 0 for any other name.
long OwnerOf(const std::string& name)
{
    if (name.compare(0, sizeof kPrefix - 1, kPrefix) != 0) {
        return 0;
    }
    char* end = nullptr;
    long processId = std::strtol(name.c_str() + sizeof kPrefix - 1, &end, 10);
    return end != nullptr && *end == '-' && std::strlen(end) == 7 ? processId : 0;
}

void RemoveDirectory(const std::string& directory)
{
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

}  // namespace

bool ProcessIsAlive(long processId)
{
    return processId > 0 && (kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM);
}

PrivateTempDirectory::~PrivateTempDirectory()
{
    if (!path.empty()) {
        RemoveDirectory(path);
        setenv("TMPDIR", systemPath.c_str(), 1);
    }
}

std::vector<std::string> PrivateTempDirectory::RemoveAbandoned()
{
    std::vector<std::string> removed;
    std::string systemPath = SystemTempPath();
    if (DIR* listing = opendir(systemPath.c_str())) {
        while (const dirent* entry = readdir(listing)) {
            std::string directory = systemPath + entry->d_name;
            struct stat status;
            long owner = OwnerOf(entry->d_name);
            if (owner != 0 && !ProcessIsAlive(owner) && lstat(directory.c_str(), &status) == 0 &&
                S_ISDIR(status.st_mode) && status.st_uid == geteuid()) {
                RemoveDirectory(directory);
                removed.push_back(directory);
            }
        }
        closedir(listing);
    }
    return removed;
}

bool PrivateTempDirectory::Create(std::string& error)
{
    systemPath = SystemTempPath();
    std::string pattern = systemPath + kPrefix + std::to_string(getpid()) + "-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        error = "cannot create a temporary directory in " + systemPath + ": " + std::strerror(errno);
        return false;
    }
    path = pattern;
    setenv("TMPDIR", path.c_str(), 1);
    return true;
}
