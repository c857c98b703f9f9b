#ifndef TAGSTRIP_MAILBOX_LEFTOVERS_H
#define TAGSTRIP_MAILBOX_LEFTOVERS_H

#include <string>
#include <vector>

// Removes what killed runs left in directory: staged files (".<name>.tagstrip-<pid>-XXXXXX")
// and liblockfile's temporary lock files (".lk<pid>...") whose writer is gone and, when the directory is a Maildir's tmp/, every file older than
// 36 hours, as the Maildir rule allows. Returns the paths it removed.
std::vector<std::string> RemoveLeftovers(const std::string& directory, bool maildirTmp);

// The process id in a staged file's name, 0 for any other name.
long StagedFileWriter(const std::string& name);

#endif
