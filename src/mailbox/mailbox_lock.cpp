#include "mailbox/mailbox_lock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kAttempts = 10;
constexpr std::chrono::milliseconds kPause(300);

template <typename Attempt>
bool Retry(Attempt attempt)
{
    for (int tries = 0; tries < kAttempts; ++tries) {
        if (attempt()) {
            return true;
        }
        if (errno != EEXIST && errno != EWOULDBLOCK) {
            return false;
        }
        std::this_thread::sleep_for(kPause);
    }
    return false;
}

}  // namespace

MailboxLock::~MailboxLock()
{
    if (!dotlockPath.empty()) {
        unlink(dotlockPath.c_str());
    }
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool MailboxLock::Acquire(const std::string& mboxPath, std::string& error)
{
    std::string lockPath = mboxPath + ".lock";
    bool dotlocked = Retry([&] {
        int lockFile = open(lockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (lockFile >= 0) {
            close(lockFile);
        }
        return lockFile >= 0;
    });
    if (!dotlocked) {
        error = errno == EEXIST ? "the mailbox is locked (" + lockPath + " exists)"
                                : "cannot create " + lockPath + ": " + std::strerror(errno);
        return false;
    }
    dotlockPath = lockPath;
    descriptor = open(mboxPath.c_str(), O_RDONLY);
    if (descriptor < 0 || !Retry([&] { return flock(descriptor, LOCK_EX | LOCK_NB) == 0; })) {
        error = "cannot lock the mailbox: " + std::string(std::strerror(errno));
        return false;
    }
    return true;
}
