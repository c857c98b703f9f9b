#include "cli/standard_streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ext/stdio_sync_filebuf.h>

namespace {

constexpr std::size_t kBlockSize = 1 << 16;

// The bytes read, 0 at the end, -1 on a failure other than an interruption.
ssize_t ReadBlock(char* block, std::size_t size)
{
    for (;;) {
        ssize_t count = read(STDIN_FILENO, block, size);
        if (count >= 0 || errno != EINTR) {
            return count;
        }
    }
}

bool WriteBytes(const char* bytes, std::size_t size)
{
    std::size_t written = 0;
    while (written < size) {
        ssize_t count = write(STDOUT_FILENO, bytes + written, size - written);
        if (count < 0 && errno != EINTR) {
            return false;
        }
        written += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return true;
}

// Where standard input is read from next, when it is a regular file; else -1.
long long CurrentInputOffset()
{
    struct stat status;
    if (fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) {
        return -1;
    }
    return lseek(STDIN_FILENO, 0, SEEK_CUR);
}

// Where the next write to standard output lands: the end of the file when it was opened
// for appending (a mailbox), else the current offset; -1 when it is not a regular file.
long long CurrentOutputOffset()
{
    struct stat status;
    if (fstat(STDOUT_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) {
        return -1;
    }
    int flags = fcntl(STDOUT_FILENO, F_GETFL);
    return flags >= 0 && (flags & O_APPEND) != 0 ? status.st_size : lseek(STDOUT_FILENO, 0, SEEK_CUR);
}

// What is left to read of standard input when it is a file; 0 when that is unknown.
std::size_t FileBytesLeft()
{
    struct stat status;
    if (fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) {
        return 0;
    }
    const off_t offset = lseek(STDIN_FILENO, 0, SEEK_CUR);
    return offset >= 0 && offset < status.st_size ? static_cast<std::size_t>(status.st_size - offset) : 0;
}

// Never destroyed, as the standard streams are not: anything may still write to them while
// the program ends.
std::ostream& StreamOn(std::FILE* file)
{
    return *new std::ostream(new __gnu_cxx::stdio_sync_filebuf<char>(file));
}

// Like std::cerr, it flushes standard output before it writes, and itself after.
std::ostream& MakeErrorStream()
{
    std::ostream& stream = StreamOn(stderr);
    stream.tie(&OutputStream());
    stream.setf(std::ios::unitbuf);
    return stream;
}

}  // namespace

// A file is read into a string of its own size, which then never grows by copying.
InputRead ReadStandardInput(std::string& text, std::size_t limit)
{
    const std::size_t fileBytes = FileBytesLeft();
    if (fileBytes > 0) {
        text.reserve(text.size() + (limit == 0 ? fileBytes : std::min(fileBytes, limit + 1)) + 1);
    }
    char block[kBlockSize];
    for (;;) {
        std::size_t wanted = limit == 0 ? sizeof block : std::min(sizeof block, limit + 1 - text.size());
        if (wanted == 0) {
            return InputRead::Truncated;
        }
        if (text.capacity() == text.size()) {
            // Grown before reading, so that running out of memory loses no byte read.
            text.reserve(std::max(text.capacity() * 2, text.size() + wanted));
        }
        wanted = std::min(wanted, text.capacity() - text.size());
        ssize_t count = ReadBlock(block, wanted);
        if (count <= 0) {
            return count == 0 ? InputRead::Whole : InputRead::Failed;
        }
        text.append(block, static_cast<std::size_t>(count));
    }
}

bool CopyRestOfInput(std::size_t& copied)
{
    char block[kBlockSize];
    for (;;) {
        ssize_t count = ReadBlock(block, sizeof block);
        if (count <= 0) {
            return count == 0;
        }
        if (!WriteBytes(block, static_cast<std::size_t>(count))) {
            return false;
        }
        copied += static_cast<std::size_t>(count);
    }
}

bool WriteStandardOutput(std::string_view text)
{
    return WriteBytes(text.data(), text.size());
}

InputStart::InputStart() : offset(CurrentInputOffset()) {}

bool InputStart::Reread(std::size_t size, std::string& text) const
{
    if (offset < 0) {
        return false;
    }
    text.resize(size);
    std::size_t done = 0;
    while (done < size) {
        ssize_t count = pread(STDIN_FILENO, &text[done], size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (count == 0 || (count < 0 && errno != EINTR)) {
            return false;
        }
        done += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return true;
}

OutputStart::OutputStart() : offset(CurrentOutputOffset()) {}

bool OutputStart::Rewind() const
{
    return offset >= 0 && ftruncate(STDOUT_FILENO, static_cast<off_t>(offset)) == 0 &&
           lseek(STDOUT_FILENO, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::ostream& OutputStream()
{
    static std::ostream& stream = StreamOn(stdout);
    return stream;
}

std::ostream& ErrorStream()
{
    static std::ostream& stream = MakeErrorStream();
    return stream;
}
