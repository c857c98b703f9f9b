#ifndef TAGSTRIP_MAILBOX_MAILBOX_LOCK_H
#define TAGSTRIP_MAILBOX_MAILBOX_LOCK_H

#include <functional>
#include <string>

// How long to wait for a mailbox that someone else holds, and where to say so.
struct LockWait {
    int seconds = 30;
    std::function<void(const std::string&)> notice;
};

// Holds an mbox against every delivery agent and mail program the way Debian's mail
// programs lock: an fcntl lock on the whole mbox, the dotlock "<mbox>.lock" (made NFS-safe
// by liblockfile, with our process id in it) and flock. All three are taken at once or
// none: whoever holds one of them, in whatever order it takes the others, is waited for
// without either side holding the other up. A dotlock whose process is gone, or without a
// process id and older than five minutes, is stale and removed with a notice. Released
// when destroyed.
class MailboxLock {
public:
    MailboxLock() = default;
    MailboxLock(const MailboxLock&) = delete;
    MailboxLock& operator=(const MailboxLock&) = delete;
    ~MailboxLock();

    // Opens the mbox for reading and writing and locks it. Fails without touching the
    // mailbox when the wait runs out or a stop signal comes.
    bool Acquire(const std::string& mboxPath, const LockWait& wait, std::string& error);
    // The open mbox. Closing any other descriptor of the mbox would drop the fcntl lock,
    // so everything that reads or writes the mbox goes through this one.
    int Descriptor() const { return descriptor; }
    // Keeps the dotlock fresh during a long hold, so that no one takes it for stale.
    void Refresh();

private:
    enum class Step { Fcntl, Dotlock, Flock, Held };
    enum class Attempt { Taken, Busy, Failed };

    // One attempt at all three locks. Busy: message says who holds what; Failed: why
    // the mailbox cannot be locked at all.
    Attempt TryAll(std::string& message, const LockWait& wait);
    Attempt TryStep(Step step, std::string& message, const LockWait& wait);
    Attempt TryDotlock(std::string& message, const LockWait& wait);
    void ReleaseAll();

    std::string mboxPath;
    std::string dotlockPath;
    int descriptor = -1;
    bool fcntlHeld = false;
    bool dotlockHeld = false;
    bool flockHeld = false;
};

#endif
