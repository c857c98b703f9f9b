#ifndef TAGSTRIP_MAILBOX_MBOX_REWRITE_H
#define TAGSTRIP_MAILBOX_MBOX_REWRITE_H

#include <chrono>
#include <cstdint>
#include <string>

#include "host/host_session.h"
#include "mailbox/mailbox_lock.h"
#include "mailbox/mbox_journal.h"
#include "mailbox/mbox_reader.h"

// Rewrites an mbox in place under the mailbox lock, held from before the first message is
// read until the last byte is on disk, through an MboxJournal (see there why that is
// crash-safe and loses no delivery). Messages that were not rewritten keep their bytes;
// when none was, the mailbox is not written at all. Begin also finishes whatever a killed
// run left half done and removes staged files of runs that are gone.
class MboxRewrite {
public:
    bool Begin(const std::string& mboxPath, const LockWait& wait, std::string& error);
    // The locked mbox, for reading it (see MailboxLock::Descriptor).
    int Descriptor() const { return lock.Descriptor(); }
    // length: the message's bytes in the mbox as read, From_ line and separator included;
    // its text is needed only when it was not rewritten.
    bool Write(const MboxMessage& message, std::uint64_t length, const MessageAnalysis& analysis,
               std::string& error);
    // Keeps the original mbox as backupPath (when not empty, and only when something was
    // rewritten) before writing anything over it.
    bool Commit(const std::string& backupPath, std::string& error);
    int RewrittenMessages() const { return rewritten; }

private:
    bool KeepBackup(const std::string& backupPath, std::uint64_t size, std::string& error);

    std::string path;
    LockWait wait;
    MailboxLock lock;
    MboxJournal journal;
    std::uint64_t offset = 0;
    int rewritten = 0;
    std::chrono::steady_clock::time_point lastRefresh = std::chrono::steady_clock::now();
};

// Quotes every line of a rewritten message that starts with "From " as ">From ", and
// ends the last line, so that the text cannot open a message of its own in the mailbox.
std::string QuotedForMbox(const std::string& message);

#endif
