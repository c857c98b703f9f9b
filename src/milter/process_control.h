#ifndef TAGSTRIP_MILTER_PROCESS_CONTROL_H
#define TAGSTRIP_MILTER_PROCESS_CONTROL_H

#include <string>

// The file that holds the daemon's process id: created at start (while still privileged),
// filled once the process id is final, removed at the end.
class PidFile {
public:
    PidFile() = default;
    PidFile(const PidFile&) = delete;
    PidFile& operator=(const PidFile&) = delete;
    ~PidFile();

    bool Create(const std::string& path, std::string& error);
    bool WriteProcessId(std::string& error);
    void Remove();

private:
    std::string path;
    int descriptor = -1;
};

// Becomes a daemon: a child in a new session, detached from the terminal; the parent
// exits. Must run before any thread starts.
bool Daemonize(std::string& error);

// Takes on the user's id, group and supplementary groups. Only when running as root.
bool DropPrivileges(const std::string& user, std::string& error);

// path made absolute against the working directory, so that it still holds after a
// daemon changed to "/".
std::string Absolute(const std::string& path);

#endif
