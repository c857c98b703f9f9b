#ifndef TAGSTRIP_MAILBOX_DOTLOCK_LIBRARY_H
#define TAGSTRIP_MAILBOX_DOTLOCK_LIBRARY_H

#include <lockfile.h>

#include <string>

// liblockfile's dotlock functions, loaded when a mailbox is first locked: only
// scan --rewrite locks one, and linking the library would load it into every run of
// every command, the filter's included. Loaded once for the process, on whichever
// thread comes first.
struct DotlockLibrary {
    decltype(&lockfile_create) create = nullptr;
    decltype(&lockfile_remove) remove = nullptr;
    decltype(&lockfile_check) check = nullptr;
    decltype(&lockfile_touch) touch = nullptr;
    std::string error;  // why they could not be loaded, if they could not

    static const DotlockLibrary& Get();
};

#endif
