#ifndef TAGSTRIP_MAILBOX_MBOX_JOURNAL_H
#define TAGSTRIP_MAILBOX_MBOX_JOURNAL_H

#include <cstdint>
#include <functional>
#include <string>

// Rewrites an mbox in place, as mail clients do, so that its inode never changes and a
// delivery agent that opened it before us appends to the very file we leave behind. What
// makes it crash-safe is the journal: the complete new tail of the mbox, from the first
// changed byte on, written and synced beside the mbox before the first byte of the mbox
// is touched, together with the bytes that truncation will cut off.
//
// The steps, each recorded in the journal's phase before it starts:
//   Extending   the mbox grows to its new size (only when it grows), space reserved;
//   Writing     the new bytes go over the old ones from the first changed byte on;
//   Truncating  the mbox is cut to its new size.
// Whatever is found after a crash, the mbox's own content ended at a place the phase
// tells, and anything past it was delivered after the crash: recovery writes the
// journal's bytes again followed by those deliveries, through a new journal.
class MboxJournal {
public:
    using Notice = std::function<void(const std::string&)>;

    MboxJournal() = default;
    MboxJournal(const MboxJournal&) = delete;
    MboxJournal& operator=(const MboxJournal&) = delete;
    ~MboxJournal();

    // Starts a journal for the mbox whose bytes from start on will be replaced.
    bool Begin(const std::string& mboxPath, std::uint64_t start, std::string& error);
    bool Append(const std::string& bytes, std::string& error);
    // Writes the journal's bytes over the locked mbox (descriptor mbox, oldSize bytes long
    // now) and removes the journal. On failure before the mbox was touched it is as it
    // was; after, the journal stays for the next run to finish from.
    bool Apply(int mbox, std::uint64_t oldSize, std::string& error);

    // Removes staged files of gone processes beside mboxPath and finishes the rewrite of
    // mboxPath that a killed run left half done. Call holding the mailbox lock (mbox is
    // the locked descriptor).
    static bool RecoverAbandoned(const std::string& mboxPath, int mbox, const Notice& notice, std::string& error);

    // The journal's name while it is in force: ".<mbox name>.tagstrip-journal-<pid>".
    static std::string CommittedPathFor(const std::string& mboxPath);

private:
    enum class Phase : std::uint64_t { Extending = 1, Writing = 2, Truncating = 3 };
    struct Header;

    bool Flush(std::string& error);
    bool WriteOut(const char* bytes, std::size_t length, std::string& error);
    bool AppendRange(int from, std::uint64_t offset, std::uint64_t length, std::string& error);
    bool Commit(std::uint64_t oldSize, std::uint64_t newSize, std::string& error);
    bool SetPhase(Phase phase);
    bool WriteOver(int mbox, std::uint64_t oldSize, std::uint64_t newSize, std::string& error);
    static std::uint64_t GenerationOf(const std::string& journalPath);
    static bool Recover(const std::string& mboxPath, int mbox, const std::string& journalPath, std::string& error);

    std::string mboxPath;
    std::string stagedPath;
    std::string committedPath;
    std::string supersededPath;
    int descriptor = -1;
    std::uint64_t start = 0;
    std::uint64_t generation = 1;
    std::uint64_t bodyLength = 0;
    std::uint64_t fileEnd = 0;
    std::string pending;
};

#endif
