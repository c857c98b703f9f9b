// Drives MboxJournal alone, for killing it at chosen system calls in the mailbox safety
// test with contents of any length (the analyzer only ever shortens messages):
//   mbox_journal_driver apply MBOX START NEW_TAIL_FILE   replace MBOX from byte START on
//   mbox_journal_driver recover MBOX                     finish what a killed apply left
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "mailbox/file_io.h"
#include "mailbox/mbox_journal.h"

namespace {

int Apply(const std::string& mbox, std::uint64_t start, const std::string& tailFile)
{
    std::string tail;
    std::string error;
    int descriptor = open(mbox.c_str(), O_RDWR);
    struct stat status;
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !ReadWholeFile(tailFile, tail, error)) {
        std::cerr << "mbox_journal_driver: cannot open " << mbox << " or " << tailFile << '\n';
        return 2;
    }
    MboxJournal journal;
    bool applied = journal.Begin(mbox, start, error) && journal.Append(tail, error) &&
                   journal.Apply(descriptor, static_cast<std::uint64_t>(status.st_size), error);
    close(descriptor);
    if (!applied) {
        std::cerr << "mbox_journal_driver: " << error << '\n';
    }
    return applied ? 0 : 1;
}

int Recover(const std::string& mbox)
{
    std::string error;
    int descriptor = open(mbox.c_str(), O_RDWR);
    bool recovered = descriptor >= 0 &&
                     MboxJournal::RecoverAbandoned(mbox, descriptor, [](const std::string&) {}, error);
    if (!recovered) {
        std::cerr << "mbox_journal_driver: " << error << '\n';
    }
    return recovered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "apply") == 0) {
        return Apply(argv[2], std::strtoull(argv[3], nullptr, 10), argv[4]);
    }
    if (argc == 3 && std::strcmp(argv[1], "recover") == 0) {
        return Recover(argv[2]);
    }
    std::cerr << "usage: mbox_journal_driver apply MBOX START NEW_TAIL_FILE | recover MBOX\n";
    return 2;
}
