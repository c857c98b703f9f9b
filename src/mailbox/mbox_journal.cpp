#include "mailbox/mbox_journal.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "mailbox/file_io.h"
#include "mailbox/leftovers.h"

namespace {

const char kMagic[8] = {'T', 'S', 'J', 'O', 'U', 'R', 'N', '1'};
constexpr std::uint64_t kHeaderSize = 64;
constexpr std::size_t kChunk = 1 << 20;
const char kJournalMark[] = ".tagstrip-journal-";

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// pread or pwrite until the whole range is done; a short count goes on where it stopped.
template <typename Bytes, typename Transfer>
bool WholeRangeAt(Transfer transfer, int descriptor, Bytes bytes, std::size_t length, std::uint64_t offset)
{
    while (length > 0) {
        ssize_t count = transfer(descriptor, bytes, length, static_cast<off_t>(offset));
        if (count <= 0) {
            if (count < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += count;
        length -= static_cast<std::size_t>(count);
        offset += static_cast<std::uint64_t>(count);
    }
    return true;
}

bool ReadAt(int descriptor, char* bytes, std::size_t length, std::uint64_t offset)
{
    return WholeRangeAt(pread, descriptor, bytes, length, offset);
}

bool WriteAt(int descriptor, const char* bytes, std::size_t length, std::uint64_t offset)
{
    return WholeRangeAt(pwrite, descriptor, bytes, length, offset);
}

bool CopyRange(int from, std::uint64_t fromOffset, int to, std::uint64_t toOffset, std::uint64_t length)
{
    std::vector<char> chunk(kChunk);
    for (std::uint64_t done = 0; done < length;) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - done));
        if (!ReadAt(from, chunk.data(), count, fromOffset + done) ||
            !WriteAt(to, chunk.data(), count, toOffset + done)) {
            return false;
        }
        done += count;
    }
    return true;
}

bool RangesEqual(int left, std::uint64_t leftOffset, int right, std::uint64_t rightOffset, std::uint64_t length)
{
    std::vector<char> leftChunk(kChunk);
    std::vector<char> rightChunk(kChunk);
    for (std::uint64_t done = 0; done < length;) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - done));
        if (!ReadAt(left, leftChunk.data(), count, leftOffset + done) ||
            !ReadAt(right, rightChunk.data(), count, rightOffset + done) ||
            std::memcmp(leftChunk.data(), rightChunk.data(), count) != 0) {
            return false;
        }
        done += count;
    }
    return true;
}

bool AllZero(int descriptor, std::uint64_t offset, std::uint64_t length)
{
    std::vector<char> chunk(kChunk);
    for (std::uint64_t done = 0; done < length;) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - done));
        if (!ReadAt(descriptor, chunk.data(), count, offset + done) ||
            std::any_of(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count), [](char c) { return c != 0; })) {
            return false;
        }
        done += count;
    }
    return true;
}

std::uint64_t FileSize(int descriptor)
{
    struct stat status;
    return fstat(descriptor, &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

void SyncDirectory(const std::string& directory)
{
    int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

std::string JournalPrefix(const std::string& mboxPath)
{
    return "." + FileNameOf(mboxPath) + kJournalMark;
}

}  // namespace

struct MboxJournal::Header {
    char magic[8];
    std::uint64_t start;
    std::uint64_t oldSize;
    std::uint64_t newSize;
    std::uint64_t phase;
    std::uint64_t generation;

    std::uint64_t BodyLength() const { return newSize - start; }
    std::uint64_t CutLength() const { return oldSize > newSize ? oldSize - newSize : 0; }
    bool Valid(std::uint64_t fileSize) const
    {
        return std::memcmp(magic, kMagic, sizeof kMagic) == 0 && start <= newSize &&
               phase >= static_cast<std::uint64_t>(Phase::Extending) &&
               phase <= static_cast<std::uint64_t>(Phase::Truncating) &&
               fileSize == kHeaderSize + BodyLength() + CutLength();
    }
};

MboxJournal::~MboxJournal()
{
    if (descriptor >= 0) {
        close(descriptor);
    }
    if (!stagedPath.empty()) {
        unlink(stagedPath.c_str());
    }
}

std::string MboxJournal::CommittedPathFor(const std::string& mboxPath)
{
    return DirectoryOf(mboxPath) + "/" + JournalPrefix(mboxPath) + std::to_string(getpid());
}

bool MboxJournal::Begin(const std::string& path, std::uint64_t firstChanged, std::string& error)
{
    mboxPath = path;
    start = firstChanged;
    std::string pattern = DirectoryOf(path) + "/" + StagedNamePrefix(path) + "XXXXXX";
    descriptor = mkostemp(&pattern[0], O_CLOEXEC);
    if (descriptor < 0) {
        error = SystemError("cannot create a file in " + DirectoryOf(path));
        return false;
    }
    stagedPath = pattern;
    pending.assign(kHeaderSize, '\0');
    return true;
}

// Small pieces gather in pending; a piece that fills it goes to the file as it is, so
// that a big message is not copied once more.
bool MboxJournal::Append(const std::string& bytes, std::string& error)
{
    bodyLength += bytes.size();
    if (pending.size() + bytes.size() < kChunk) {
        pending += bytes;
        return true;
    }
    return Flush(error) && WriteOut(bytes.data(), bytes.size(), error);
}

bool MboxJournal::Flush(std::string& error)
{
    if (!WriteOut(pending.data(), pending.size(), error)) {
        return false;
    }
    pending.clear();
    return true;
}

bool MboxJournal::WriteOut(const char* bytes, std::size_t length, std::string& error)
{
    if (!WriteAt(descriptor, bytes, length, fileEnd)) {
        error = SystemError("cannot write " + stagedPath);
        return false;
    }
    fileEnd += length;
    return true;
}

bool MboxJournal::AppendRange(int from, std::uint64_t offset, std::uint64_t length, std::string& error)
{
    if (!Flush(error)) {
        return false;
    }
    if (!CopyRange(from, offset, descriptor, fileEnd, length)) {
        error = SystemError("cannot copy into " + stagedPath);
        return false;
    }
    fileEnd += length;
    bodyLength += length;
    return true;
}

bool MboxJournal::Apply(int mbox, std::uint64_t oldSize, std::string& error)
{
    std::uint64_t newSize = start + bodyLength;
    if (!Flush(error)) {
        return false;
    }
    if (oldSize > newSize && !CopyRange(mbox, newSize, descriptor, fileEnd, oldSize - newSize)) {
        error = SystemError("cannot write " + stagedPath);
        return false;
    }
    if (!Commit(oldSize, newSize, error) || !WriteOver(mbox, oldSize, newSize, error)) {
        return false;
    }
    unlink(committedPath.c_str());
    SyncDirectory(DirectoryOf(mboxPath));
    return true;
}

bool MboxJournal::Commit(std::uint64_t oldSize, std::uint64_t newSize, std::string& error)
{
    Header header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.start = start;
    header.oldSize = oldSize;
    header.newSize = newSize;
    header.phase = static_cast<std::uint64_t>(newSize > oldSize ? Phase::Extending : Phase::Writing);
    header.generation = generation;
    committedPath = CommittedPathFor(mboxPath);
    if (!WriteAt(descriptor, reinterpret_cast<const char*>(&header), sizeof header, 0) || fsync(descriptor) != 0) {
        error = SystemError("cannot write " + stagedPath) + "; the mailbox is left as it was";
        return false;
    }
    if (rename(stagedPath.c_str(), committedPath.c_str()) != 0) {
        error = SystemError("cannot rename " + stagedPath) + "; the mailbox is left as it was";
        return false;
    }
    stagedPath.clear();
    if (!supersededPath.empty() && supersededPath != committedPath) {
        unlink(supersededPath.c_str());
    }
    SyncDirectory(DirectoryOf(mboxPath));
    return true;
}

bool MboxJournal::SetPhase(Phase phase)
{
    std::uint64_t value = static_cast<std::uint64_t>(phase);
    return WriteAt(descriptor, reinterpret_cast<const char*>(&value), sizeof value, offsetof(Header, phase)) &&
           fdatasync(descriptor) == 0;
}

bool MboxJournal::WriteOver(int mbox, std::uint64_t oldSize, std::uint64_t newSize, std::string& error)
{
    if (newSize > oldSize) {
        int failure = posix_fallocate(mbox, static_cast<off_t>(oldSize), static_cast<off_t>(newSize - oldSize));
        if (failure != 0 || fsync(mbox) != 0) {
            errno = failure != 0 ? failure : errno;
            error = SystemError("cannot make room for the rewritten mailbox") + "; the mailbox is left as it was";
            if (ftruncate(mbox, static_cast<off_t>(oldSize)) == 0 && fsync(mbox) == 0) {
                unlink(committedPath.c_str());
            }
            return false;
        }
    }
    bool written = SetPhase(Phase::Writing) && CopyRange(descriptor, kHeaderSize, mbox, start, newSize - start) &&
                   fsync(mbox) == 0 && SetPhase(Phase::Truncating) &&
                   (newSize >= oldSize || ftruncate(mbox, static_cast<off_t>(newSize)) == 0) && fsync(mbox) == 0;
    if (!written) {
        error = SystemError("cannot write the mailbox") + "; its new content is kept in " + committedPath +
                " and the next run finishes the rewrite from there";
    }
    return written;
}

bool MboxJournal::RecoverAbandoned(const std::string& mboxPath, int mbox, const Notice& notice, std::string& error)
{
    std::string directory = DirectoryOf(mboxPath);
    for (const std::string& removed : RemoveLeftovers(directory, false)) {
        if (notice) {
            notice("removed " + removed + ", left by a stopped run");
        }
    }
    std::string prefix = JournalPrefix(mboxPath);
    std::vector<std::pair<std::uint64_t, std::string>> journals;
    if (DIR* listing = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(listing)) {
            if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) {
                std::string path = directory + "/" + entry->d_name;
                journals.emplace_back(GenerationOf(path), path);
            }
        }
        closedir(listing);
    }
    if (journals.empty()) {
        return true;
    }
    // A run killed while it finished an older journal leaves the older one beside the
    // newer, which holds all of it.
    std::sort(journals.rbegin(), journals.rend());
    if (notice) {
        notice("finishing the rewrite that a stopped run left half done, from " + journals.front().second);
    }
    if (!Recover(mboxPath, mbox, journals.front().second, error)) {
        return false;
    }
    for (std::size_t i = 1; i < journals.size(); ++i) {
        unlink(journals[i].second.c_str());
    }
    return true;
}

std::uint64_t MboxJournal::GenerationOf(const std::string& journalPath)
{
    Header header;
    int journal = open(journalPath.c_str(), O_RDONLY | O_CLOEXEC);
    bool read = journal >= 0 && ReadAt(journal, reinterpret_cast<char*>(&header), sizeof header, 0);
    if (journal >= 0) {
        close(journal);
    }
    return read ? header.generation : 0;
}

bool MboxJournal::Recover(const std::string& mboxPath, int mbox, const std::string& journalPath, std::string& error)
{
    int journal = open(journalPath.c_str(), O_RDONLY | O_CLOEXEC);
    Header header;
    bool valid = journal >= 0 && ReadAt(journal, reinterpret_cast<char*>(&header), sizeof header, 0) &&
                 header.Valid(FileSize(journal));
    std::uint64_t size = FileSize(mbox);
    if (!valid || size < header.start) {
        if (journal >= 0) {
            close(journal);
        }
        error = "cannot finish the rewrite from " + journalPath + ": it does not fit the mailbox; left both alone";
        return false;
    }
    // Where the mbox's own content ends; everything after it was delivered after the crash.
    std::uint64_t end = std::max(header.oldSize, header.newSize);
    switch (static_cast<Phase>(header.phase)) {
    case Phase::Extending:
        end = size >= header.newSize && AllZero(mbox, header.oldSize, header.newSize - header.oldSize)
                  ? header.newSize : header.oldSize;
        break;
    case Phase::Writing:
        break;
    case Phase::Truncating:
        end = size >= header.oldSize && header.oldSize > header.newSize &&
                      RangesEqual(mbox, header.newSize, journal, kHeaderSize + header.BodyLength(), header.CutLength())
                  ? header.oldSize : header.newSize;
        break;
    }
    end = std::min(end, size);
    MboxJournal next;
    next.generation = header.generation + 1;
    next.supersededPath = journalPath;
    bool recovered = next.Begin(mboxPath, header.start, error) &&
                     next.AppendRange(journal, kHeaderSize, header.BodyLength(), error) &&
                     next.AppendRange(mbox, end, size - end, error) && next.Apply(mbox, size, error);
    close(journal);
    return recovered;
}
