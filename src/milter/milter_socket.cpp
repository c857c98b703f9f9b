#include "milter/milter_socket.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool SomeoneListens(const std::string& path)
{
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bool answered = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return answered;
}

}  // namespace

std::string UnixSocketPath(const std::string& name)
{
    for (const char* kind : {"unix:", "local:"}) {
        if (name.compare(0, std::strlen(kind), kind) == 0) {
            return name.substr(std::strlen(kind));
        }
    }
    return std::string();
}

bool ClearStaleSocket(const std::string& path, std::string& error)
{
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return true;
        }
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISSOCK(status.st_mode)) {
        error = path + " exists and is not a socket; not removing it";
        return false;
    }
    if (SomeoneListens(path)) {
        error = "another milter is listening on " + path;
        return false;
    }
    if (unlink(path.c_str()) != 0) {
        error = path + ": cannot remove the stale socket: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool SetSocketAccess(const std::string& path, mode_t mode, const std::string& groupName, std::string& error)
{
    if (!groupName.empty()) {
        const struct group* entry = getgrnam(groupName.c_str());
        if (entry == nullptr) {
            error = "no such group '" + groupName + "'";
            return false;
        }
        if (chown(path.c_str(), static_cast<uid_t>(-1), entry->gr_gid) != 0) {
            error = path + ": cannot give the socket to group " + groupName + ": " + std::strerror(errno);
            return false;
        }
    }
    if (chmod(path.c_str(), mode) != 0) {
        error = path + ": cannot set the socket's mode: " + std::strerror(errno);
        return false;
    }
    return true;
}
