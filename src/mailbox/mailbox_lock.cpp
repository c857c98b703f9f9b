#include "mailbox/mailbox_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "mailbox/dotlock_library.h"
#include "mailbox/file_io.h"
#include "mailbox/stop_signals.h"

namespace {

constexpr std::chrono::milliseconds kFirstPause(20);
constexpr std::chrono::milliseconds kLongestPause(500);

struct flock WholeFile(short type)
{
    struct flock region;
    std::memset(&region, 0, sizeof region);
    region.l_type = type;
    region.l_whence = SEEK_SET;
    return region;
}

std::string FcntlHolder(int descriptor)
{
    struct flock region = WholeFile(F_WRLCK);
    if (fcntl(descriptor, F_GETLK, &region) == 0 && region.l_type != F_UNLCK) {
        return "an fcntl lock held by process " + std::to_string(region.l_pid);
    }
    return "an fcntl lock";
}

std::string DotlockHolder(const std::string& dotlockPath)
{
    std::string content;
    std::string error;
    ReadWholeFile(dotlockPath, content, error);
    long processId = std::atol(content.c_str());
    return dotlockPath + (processId > 0 ? " held by process " + std::to_string(processId) : " exists");
}

}  // namespace

MailboxLock::~MailboxLock()
{
    ReleaseAll();
    if (descriptor >= 0) {
        close(descriptor);
    }
}

bool MailboxLock::Acquire(const std::string& path, const LockWait& wait, std::string& error)
{
    mboxPath = path;
    dotlockPath = path + ".lock";
    descriptor = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(wait.seconds);
    std::chrono::milliseconds pause = kFirstPause;
    std::string holder;
    bool told = false;
    for (Attempt attempt; (attempt = TryAll(holder, wait)) != Attempt::Taken;) {
        if (attempt == Attempt::Failed) {
            error = holder;
            return false;
        }
        if (StopSignals::Requested() != 0) {
            error = std::string("stopped by ") + StopSignals::Name(StopSignals::Requested()) +
                    " while waiting for the mailbox lock; it is left as it was";
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "gave up: the mailbox is still locked (" + holder + ") after " + std::to_string(wait.seconds) +
                    " s; it is left as it was";
            return false;
        }
        if (!told && wait.notice) {
            wait.notice("waiting for the mailbox lock: " + holder);
            told = true;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestPause);
    }
    return true;
}

MailboxLock::Attempt MailboxLock::TryAll(std::string& message, const LockWait& wait)
{
    for (Step step = Step::Fcntl; step != Step::Held; step = static_cast<Step>(static_cast<int>(step) + 1)) {
        Attempt attempt = TryStep(step, message, wait);
        if (attempt != Attempt::Taken) {
            ReleaseAll();
            return attempt;
        }
    }
    return Attempt::Taken;
}

MailboxLock::Attempt MailboxLock::TryStep(Step step, std::string& message, const LockWait& wait)
{
    switch (step) {
    case Step::Fcntl: {
        struct flock region = WholeFile(F_WRLCK);
        fcntlHeld = fcntl(descriptor, F_SETLK, &region) == 0;
        if (fcntlHeld) {
            return Attempt::Taken;
        }
        bool busy = errno == EACCES || errno == EAGAIN;
        message = busy ? FcntlHolder(descriptor) : std::string("cannot lock: ") + std::strerror(errno);
        return busy ? Attempt::Busy : Attempt::Failed;
    }
    case Step::Dotlock:
        return TryDotlock(message, wait);
    case Step::Flock: {
        flockHeld = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
        if (flockHeld) {
            return Attempt::Taken;
        }
        bool busy = errno == EWOULDBLOCK;
        message = busy ? "an flock lock" : std::string("cannot flock: ") + std::strerror(errno);
        return busy ? Attempt::Busy : Attempt::Failed;
    }
    case Step::Held:
        break;
    }
    return Attempt::Taken;
}

MailboxLock::Attempt MailboxLock::TryDotlock(std::string& message, const LockWait& wait)
{
    const DotlockLibrary& dotlock = DotlockLibrary::Get();
    if (!dotlock.error.empty()) {
        message = "cannot make dotlocks: " + dotlock.error;
        return Attempt::Failed;
    }
    struct stat status;
    if (lstat(dotlockPath.c_str(), &status) == 0 && dotlock.check(dotlockPath.c_str(), L_PID) != 0) {
        if (wait.notice) {
            wait.notice("removing the stale lock " + DotlockHolder(dotlockPath) +
                        " (its process is gone, or it is older than five minutes)");
        }
        dotlock.remove(dotlockPath.c_str());
    }
    int result = dotlock.create(dotlockPath.c_str(), 0, L_PID);
    dotlockHeld = result == L_SUCCESS;
    if (dotlockHeld) {
        return Attempt::Taken;
    }
    if (result == L_MAXTRYS) {
        message = DotlockHolder(dotlockPath);
        return Attempt::Busy;
    }
    message = "cannot create " + dotlockPath + ": " + std::strerror(errno);
    return Attempt::Failed;
}

void MailboxLock::Refresh()
{
    if (dotlockHeld) {
        DotlockLibrary::Get().touch(dotlockPath.c_str());
    }
}

void MailboxLock::ReleaseAll()
{
    if (flockHeld) {
        flock(descriptor, LOCK_UN);
        flockHeld = false;
    }
    if (dotlockHeld) {
        DotlockLibrary::Get().remove(dotlockPath.c_str());
        dotlockHeld = false;
    }
    if (fcntlHeld) {
        struct flock region = WholeFile(F_UNLCK);
        fcntl(descriptor, F_SETLK, &region);
        fcntlHeld = false;
    }
}
