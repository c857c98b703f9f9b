#ifndef TAGSTRIP_MAILBOX_MAILBOX_LOCK_H
#define TAGSTRIP_MAILBOX_MAILBOX_LOCK_H

#include <string>

// Holds an mbox against delivery and other mail programs: a dotlock file "<mbox>.lock"
// created exclusively, and flock on the mbox itself. Waits a few seconds for a lock that
// someone else holds, then gives up. Released when destroyed.
class MailboxLock {
public:
    MailboxLock() = default;
    MailboxLock(const MailboxLock&) = delete;
    MailboxLock& operator=(const MailboxLock&) = delete;
    ~MailboxLock();

    bool Acquire(const std::string& mboxPath, std::string& error);

private:
    int descriptor = -1;
    std::string dotlockPath;
};

#endif
