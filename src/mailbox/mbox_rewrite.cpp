#include "mailbox/mbox_rewrite.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "host/message_text.h"
#include "mailbox/file_io.h"
#include "mailbox/stop_signals.h"

namespace {

constexpr std::chrono::seconds kRefreshInterval(60);
constexpr std::size_t kCopyChunk = 1 << 20;

}  // namespace

std::string QuotedForMbox(const std::string& message)
{
    std::string quoted;
    quoted.reserve(message.size() + 16);
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        end = end == std::string::npos ? message.size() : end + 1;
        if (message.compare(start, 5, "From ") == 0) {
            quoted += '>';
        }
        quoted.append(message, start, end - start);
        start = end;
    }
    if (!quoted.empty() && quoted.back() != '\n') {
        quoted += LineEndOf(message);
    }
    return quoted;
}

bool MboxRewrite::Begin(const std::string& mboxPath, const LockWait& lockWait, std::string& error)
{
    path = mboxPath;
    wait = lockWait;
    if (!lock.Acquire(mboxPath, wait, error)) {
        return false;
    }
    StopSignals::Deferred deferred;
    return MboxJournal::RecoverAbandoned(mboxPath, lock.Descriptor(), wait.notice, error);
}

bool MboxRewrite::Write(const MboxMessage& message, std::uint64_t length, const MessageAnalysis& analysis,
                        std::string& error)
{
    if (std::chrono::steady_clock::now() - lastRefresh > kRefreshInterval) {
        lock.Refresh();
        lastRefresh = std::chrono::steady_clock::now();
    }
    if (rewritten == 0 && !analysis.rewritten) {
        offset += length;
        return true;
    }
    if (rewritten == 0 && !journal.Begin(path, offset, error)) {
        return false;
    }
    offset += length;
    rewritten += analysis.rewritten;
    return journal.Append(message.fromLine, error) &&
           journal.Append(analysis.rewritten ? QuotedForMbox(analysis.rewrittenText) : message.text, error) &&
           journal.Append(message.separator, error);
}

bool MboxRewrite::Commit(const std::string& backupPath, std::string& error)
{
    if (rewritten == 0) {
        return true;
    }
    struct stat status;
    if (fstat(lock.Descriptor(), &status) != 0 || static_cast<std::uint64_t>(status.st_size) != offset) {
        error = "the mailbox changed while it was locked (someone writes it without locking); left as it was";
        return false;
    }
    if (!backupPath.empty() && !KeepBackup(backupPath, offset, error)) {
        return false;
    }
    StopSignals::Deferred deferred;
    return journal.Apply(lock.Descriptor(), offset, error);
}

bool MboxRewrite::KeepBackup(const std::string& backupPath, std::uint64_t size, std::string& error)
{
    StagedFile backup;
    if (!backup.Create(backupPath, "", error)) {
        return false;
    }
    backup.TakeOwnerAndModeFrom(path);
    std::string chunk;
    for (std::uint64_t done = 0; done < size; done += chunk.size()) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, size - done)));
        ssize_t count = pread(lock.Descriptor(), &chunk[0], chunk.size(), static_cast<off_t>(done));
        if (count <= 0) {
            error = std::string("cannot read the mailbox: ") + std::strerror(errno);
            return false;
        }
        chunk.resize(static_cast<std::size_t>(count));
        if (!backup.Write(chunk)) {
            error = "cannot write " + backupPath + ": " + std::strerror(errno) + "; the mailbox is left as it was";
            return false;
        }
    }
    return backup.Commit("", "", error);
}
