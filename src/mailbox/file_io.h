#ifndef TAGSTRIP_MAILBOX_FILE_IO_H
#define TAGSTRIP_MAILBOX_FILE_IO_H

#include <cstdint>
#include <cstdio>
#include <string>

// Reads the whole file at path into content. On failure error says what went wrong
// ("cannot open: ...", "is a directory", "cannot read: ...").
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

// Reads a file line by line through its own buffer, so that a mailbox of any size costs
// only the buffer and the current line. Each line keeps its "\n"; the last may lack one.
class LineReader {
public:
    LineReader() = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    bool Open(const std::string& path, std::string& error);
    // False at the end of the file or on a read error (then Error() is not empty).
    bool ReadLine(std::string& line);
    const std::string& Error() const { return error; }
    std::uint64_t BytesRead() const { return bytesRead; }

private:
    bool Refill();

    int descriptor = -1;
    std::string buffer;
    std::size_t position = 0;
    std::string error;
    std::uint64_t bytesRead = 0;
};

// A new file written beside its target (or in a staging directory on the same file
// system) and moved over the target only when complete and on disk, so that a crash
// leaves either the old file or the new one. Removed again unless committed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    // stagingDirectory empty: beside target.
    bool Create(const std::string& target, const std::string& stagingDirectory, std::string& error);
    bool Write(const std::string& bytes);
    // Flushes, syncs, gives the file the target's owner and permissions, keeps the target as
    // backupPath (when not empty) and renames the new file over the target.
    bool Commit(const std::string& backupPath, std::string& error);

private:
    std::string target;
    std::string stagedPath;
    std::FILE* file = nullptr;
};

// Writes content to target through a StagedFile.
bool ReplaceFile(const std::string& target, const std::string& content,
                 const std::string& stagingDirectory, const std::string& backupPath, std::string& error);

// Creates directory and any missing parents.
bool MakeDirectories(const std::string& directory, std::string& error);

std::string DirectoryOf(const std::string& path);
std::string FileNameOf(const std::string& path);

#endif
