#include "milter/process_control.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

}  // namespace

PidFile::~PidFile()
{
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool PidFile::Create(const std::string& filePath, std::string& error)
{
    descriptor = open(filePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        error = SystemError(filePath + ": cannot create the pid file");
        return false;
    }
    path = filePath;
    return true;
}

bool PidFile::WriteProcessId(std::string& error)
{
    if (descriptor < 0) {
        return true;
    }
    std::string text = std::to_string(getpid()) + "\n";
    if (write(descriptor, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        error = SystemError(path + ": cannot write the pid file");
        return false;
    }
    close(descriptor);
    descriptor = -1;
    return true;
}

void PidFile::Remove()
{
    if (!path.empty()) {
        unlink(path.c_str());
        path.clear();
    }
}

bool Daemonize(std::string& error)
{
    pid_t child = fork();
    if (child < 0) {
        error = SystemError("cannot fork");
        return false;
    }
    if (child > 0) {
        _exit(0);
    }
    if (setsid() < 0) {
        error = SystemError("cannot start a new session");
        return false;
    }
    int devNull = open("/dev/null", O_RDWR);
    if (devNull < 0 || chdir("/") != 0) {
        error = SystemError("cannot detach from the terminal");
        return false;
    }
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    if (devNull > STDERR_FILENO) {
        close(devNull);
    }
    return true;
}

bool DropPrivileges(const std::string& user, std::string& error)
{
    errno = 0;
    const passwd* entry = getpwnam(user.c_str());
    if (entry == nullptr) {
        error = "no such user '" + user + "'";
        return false;
    }
    if (geteuid() != 0) {
        if (geteuid() == entry->pw_uid) {
            return true;
        }
        error = "only root can change to user '" + user + "'";
        return false;
    }
    if (initgroups(entry->pw_name, entry->pw_gid) != 0 || setgid(entry->pw_gid) != 0 ||
        setuid(entry->pw_uid) != 0) {
        error = SystemError("cannot change to user '" + user + "'");
        return false;
    }
    return true;
}

std::string Absolute(const std::string& path)
{
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char directory[4096];
    return getcwd(directory, sizeof directory) != nullptr ? std::string(directory) + "/" + path : path;
}
