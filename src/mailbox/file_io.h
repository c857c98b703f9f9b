#ifndef TAGSTRIP_MAILBOX_FILE_IO_H
#define TAGSTRIP_MAILBOX_FILE_IO_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// Reads the whole file at path into content. On failure error says what went wrong
// ("cannot open: ...", "is a directory", "cannot read: ...").
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

// Reads a file through its own buffer, so that a mailbox of any size costs only the
// buffer and the current message. Lines keep their "\n"; the last may lack one.
class LineReader {
public:
    LineReader() = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    bool Open(const std::string& path, std::string& error);
    // Reads from the start of a descriptor that stays open and stays the caller's.
    void Attach(int openDescriptor);
    // False at the end of the file or on a read error (then Error() is not empty).
    bool ReadLine(std::string& line);

    // The bytes read and not yet consumed, valid until the next Refill.
    std::string_view Buffered() const { return {buffer.get() + start, end - start}; }
    void Consume(std::size_t count);
    // Takes count consumed bytes off BytesRead(), for a line dropped at a read error.
    void Unconsume(std::size_t count) { bytesRead -= count; }
    // Reads more after the buffered bytes, keeping them. False at the end of the file or
    // on a read error (then Error() is not empty).
    bool Refill();

    const std::string& Error() const { return error; }
    std::uint64_t BytesRead() const { return bytesRead; }

private:
    void MakeRoomFor(std::size_t size);

    int descriptor = -1;
    bool owned = false;
    // Never zero-filled: only bytes read are ever looked at.
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t start = 0;
    std::size_t end = 0;
    std::string error;
    std::uint64_t bytesRead = 0;
};

// A new file written beside its target (or in a staging directory on the same file
// system) and moved over the target only when complete and on disk, so that a crash
// leaves either the old file or the new one. Removed again unless committed. Its name,
// ".<target name>.tagstrip-<pid>-XXXXXX", tells whose it is, so that a later run can
// remove it once its writer is gone (see leftovers.h).
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    // stagingDirectory empty: beside target.
    bool Create(const std::string& target, const std::string& stagingDirectory, std::string& error);
    bool Write(const std::string& bytes);
    // Gives the file the owner and permissions of model instead of the target's.
    void TakeOwnerAndModeFrom(const std::string& model) { attributesFrom = model; }
    // Flushes, syncs, gives the file the target's owner, permissions and modification time,
    // keeps the target as backupPath (when not empty) and renames the new file over the
    // target, then to finalPath when that differs (a Maildir name with new sizes).
    bool Commit(const std::string& backupPath, const std::string& finalPath, std::string& error);

private:
    std::string target;
    std::string stagedPath;
    std::string attributesFrom;
    std::FILE* file = nullptr;
};

// Writes content to target through a StagedFile. The file ends up at
// MaildirSizedName(target, content); replacedPath, when given, is set to it.
bool ReplaceFile(const std::string& target, const std::string& content,
                 const std::string& stagingDirectory, const std::string& backupPath, std::string& error,
                 std::string* replacedPath = nullptr);

// The path of the file that holds content under target's name: a Maildir name's "S="
// (size) and "W=" (size with CRLF line ends) before its ":2," flags follow the content;
// any other name stays.
std::string MaildirSizedName(const std::string& target, const std::string& content);

// The name prefix of a staged file written by this process.
std::string StagedNamePrefix(const std::string& target);

// Creates directory and any missing parents.
bool MakeDirectories(const std::string& directory, std::string& error);

std::string DirectoryOf(const std::string& path);
std::string FileNameOf(const std::string& path);

#endif
