#ifndef TAGSTRIP_CLI_TERMINATION_CLEANUP_H
#define TAGSTRIP_CLI_TERMINATION_CLEANUP_H

#include <string>

// A private temporary directory for the analyzer's files (TMPDIR points into it while
// the object lives), removed with whatever it holds when the object goes and also when
// SIGTERM, SIGINT or SIGHUP ends the program, as a delivery agent's timeout does. After
// removing it the signal ends the program as it would have.
class TerminationCleanup {
public:
    TerminationCleanup();
    ~TerminationCleanup();
    TerminationCleanup(const TerminationCleanup&) = delete;
    TerminationCleanup& operator=(const TerminationCleanup&) = delete;

    // False when no private directory could be made (the analyzer then uses TMPDIR as it was).
    bool Active() const { return !directory.empty(); }

private:
    std::string directory;
};

#endif
