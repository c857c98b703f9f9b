#ifndef TAGSTRIP_PLATFORM_KERNEL_PRIVATE_TEMP_DIRECTORY_H
#define TAGSTRIP_PLATFORM_KERNEL_PRIVATE_TEMP_DIRECTORY_H

#include <string>
#include <vector>

// A temporary directory of this process's own, "tagstrip-<pid>-XXXXXX" under the system's,
// which GetTempPathA answers from then on, so that whatever the analyzer leaves there
// when the process is killed is found and removed by a later process. Create it once,
// before any thread analyses. Removed with its files when destroyed, together with any
// other abandoned ones: the last one out leaves nothing behind.
class PrivateTempDirectory {
public:
    PrivateTempDirectory() = default;
    PrivateTempDirectory(const PrivateTempDirectory&) = delete;
    PrivateTempDirectory& operator=(const PrivateTempDirectory&) = delete;
    ~PrivateTempDirectory();

    // On failure the system's directory stays in use and error says why.
    bool Create(std::string& error);
    const std::string& Path() const { return path; }

    // Removes the directories "tagstrip-<pid>-XXXXXX" of this user's processes that are
    // gone, with what they hold, and returns their paths.
    static std::vector<std::string> RemoveAbandoned();
    static std::vector<std::string> RemoveAbandoned(const std::string& systemPath);
    // The same, but only when a private directory may have been made since a sweep last
    // found none left: reading a big system directory costs more than the rest of a
    // process that handles one short message.
    static std::vector<std::string> RemoveAbandonedIfAnyMade();
    // Records that a private directory was just made under systemPath (ending in '/').
    static void NoteMade(const std::string& systemPath);

private:
    std::string systemPath;
    std::string path;
};

// True when a process with this id runs (or exists, under another user).
bool ProcessIsAlive(long processId);

// Where GetTempPathA looks first: a directory made on demand, at the first file that
// needs it. An empty answer, or no source (null), leaves TMPDIR in charge.
using TempPathSource = std::string (*)();
void SetTempPathSource(TempPathSource source);

#endif
