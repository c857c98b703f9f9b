#include "platform/kernel/private_temp_directory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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

bool RemoveDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::remove_all(directory, error);
    return !error;
}

// Present while this user may have a private directory under systemPath. It is made
// after each directory, and a sweep removes it before reading systemPath, so that a
// directory the sweep does not see still leaves the marker behind.
std::string MarkerPath(const std::string& systemPath)
{
    return systemPath + kPrefix + std::to_string(geteuid()) + ".made";
}

bool MarkerMissing(const std::string& systemPath)
{
    struct stat status;
    return lstat(MarkerPath(systemPath).c_str(), &status) != 0 && errno == ENOENT;
}

bool OwnPrivateDirectory(const std::string& directory)
{
    struct stat status;
    return lstat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid();
}

std::vector<std::string> Sweep(const std::string& systemPath)
{
    std::vector<std::string> removed;
    unlink(MarkerPath(systemPath).c_str());
    bool anyLeft = true;
    if (DIR* listing = opendir(systemPath.c_str())) {
        anyLeft = false;
        while (const dirent* entry = readdir(listing)) {
            const long owner = OwnerOf(entry->d_name);
            const std::string directory = owner != 0 ? systemPath + entry->d_name : std::string();
            if (owner == 0 || !OwnPrivateDirectory(directory)) {
                continue;
            }
            if (!ProcessIsAlive(owner) && RemoveDirectory(directory)) {
                removed.push_back(directory);
            } else {
                anyLeft = true;
            }
        }
        closedir(listing);
    }
    if (anyLeft) {
        PrivateTempDirectory::NoteMade(systemPath);
    }
    return removed;
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
        Sweep(systemPath);
    }
}

std::vector<std::string> PrivateTempDirectory::RemoveAbandoned()
{
    return Sweep(SystemTempPath());
}

std::vector<std::string> PrivateTempDirectory::RemoveAbandoned(const std::string& systemPath)
{
    return Sweep(systemPath);
}

std::vector<std::string> PrivateTempDirectory::RemoveAbandonedIfAnyMade()
{
    const std::string systemPath = SystemTempPath();
    return MarkerMissing(systemPath) ? std::vector<std::string>() : Sweep(systemPath);
}

void PrivateTempDirectory::NoteMade(const std::string& systemPath)
{
    const int descriptor = open(MarkerPath(systemPath).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool PrivateTempDirectory::Create(std::string& error)
{
    systemPath = SystemTempPath();
    std::string pattern = systemPath + kPrefix + std::to_string(getpid()) + "-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        error = "cannot create a temporary directory in " + systemPath + ": " + std::strerror(errno);
        return false;
    }
    NoteMade(systemPath);
    path = pattern;
    setenv("TMPDIR", path.c_str(), 1);
    return true;
}
