#ifndef TAGSTRIP_CLI_TERMINATION_CLEANUP_H
#define TAGSTRIP_CLI_TERMINATION_CLEANUP_H

#include <string>

// A private temporary directory for the analyzer's files (GetTempPathA answers it while
// the object lives), removed with whatever it holds when the object goes and also when
// SIGTERM, SIGINT or SIGHUP ends the program, as a delivery agent's timeout does. After
// removing it the signal ends the program as it would have.
//
// The directory, and the thread that waits for those signals, are made when the analyzer
// first asks for the temporary path: most messages are short enough to need no file, and
// a process that makes nothing has nothing to clean up. Make one at a time.
class TerminationCleanup {
public:
    TerminationCleanup();
    ~TerminationCleanup();
    TerminationCleanup(const TerminationCleanup&) = delete;
    TerminationCleanup& operator=(const TerminationCleanup&) = delete;

private:
    // The directory, made at the first call; empty when it cannot be made (the analyzer
    // then uses TMPDIR as it is).
    static std::string DirectoryMadeOnFirstUse();

    bool made = false;
    std::string directory;
};

#endif
