// Private-profile (ini) files, read and written one key at a time with no cache.
//
// A file is held as its lines, each with its own line end, so that a write changes the
// one line it concerns and leaves every other byte as it was. Names of sections and keys
// match with A-Z folded and blanks around them ignored; the first of two equal sections
// or keys is the one read and written.
//
// A write never leaves a half-written file: the new contents go to "<ini>.tmp", are
// flushed to disk and renamed over the ini file. Writers in any process take an advisory
// lock on "<ini>.lock" around reading, changing and replacing, so no update is lost.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/profile_testing.h"
#include "platform/kernel/windows.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kBlanks = " \t\r";
constexpr std::size_t kNone = std::string::npos;

bool (*renameHook)() = nullptr;

// An empty name or a bare directory (what a module path without '.' leads to) names no file.
bool NamesFile(const char* fileName)
{
    const std::size_t length = std::strlen(fileName);
    return length > 0 && fileName[length - 1] != '/';
}

enum LineKind { LineBlank, LineComment, LineSection, LineEntry };

struct LineInfo {
    LineKind kind;
    std::string name;        // section name, or key name of an entry
    std::size_t valueStart;  // where an entry's value begins; kNone without '='
};

// Where a section and key lie in a file; kNone for what is missing.
struct Location {
    std::size_t section = kNone;
    std::size_t insertAfter = kNone;  // the section's last key line, else its header
    std::size_t key = kNone;
};

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == kNone) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool EqualsNoCase(const std::string& left, const char* right)
{
    return left.size() == std::strlen(right) && _strnicmp(left.c_str(), right, left.size()) == 0;
}

std::string LineEnd(const std::string& line)
{
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
        return "\r\n";
    }
    return !line.empty() && line.back() == '\n' ? "\n" : "";
}

std::string Content(const std::string& line)
{
    return line.substr(0, line.size() - LineEnd(line).size());
}

LineInfo Classify(const std::string& line)
{
    const std::string content = Content(line);
    const std::string trimmed = Trim(content);
    if (trimmed.empty()) {
        return {LineBlank, std::string(), kNone};
    }
    if (trimmed[0] == ';' || trimmed[0] == '#') {
        return {LineComment, std::string(), kNone};
    }
    if (trimmed[0] == '[') {
        return {LineSection, Trim(trimmed.substr(1, trimmed.find(']') - 1)), kNone};
    }
    const std::size_t equals = content.find('=');
    if (equals == kNone) {
        return {LineEntry, trimmed, kNone};
    }
    const std::size_t value = content.find_first_not_of(" \t", equals + 1);
    return {LineEntry, Trim(content.substr(0, equals)), value == kNone ? content.size() : value};
}

Location Locate(const Lines& lines, const char* section, const char* key)
{
    Location at;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const LineInfo info = Classify(lines[index]);
        if (info.kind == LineSection) {
            if (at.section != kNone) {
                break;
            }
            if (EqualsNoCase(info.name, section)) {
                at.section = index;
                at.insertAfter = index;
            }
        } else if (info.kind == LineEntry && at.section != kNone) {
            at.insertAfter = index;
            if (at.key == kNone && info.valueStart != kNone && EqualsNoCase(info.name, key)) {
                at.key = index;
            }
        }
    }
    return at;
}

std::string ValueAt(const std::string& line)
{
    return Trim(Content(line).substr(Classify(line).valueStart));
}

// Leading decimal digits with an optional minus sign; none reads as 0. Wraps around
// like the 32-bit arithmetic it stands for.
UINT LeadingInteger(const std::string& text)
{
    const bool negative = !text.empty() && text[0] == '-';
    UINT result = 0;
    for (std::size_t index = negative ? 1 : 0; index < text.size(); ++index) {
        if (text[index] < '0' || text[index] > '9') {
            break;
        }
        result = result * 10 + static_cast<UINT>(text[index] - '0');
    }
    return negative ? 0u - result : result;
}

Lines SplitLines(const std::string& text)
{
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == kNone ? text.size() : newline + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A missing file reads as no lines; false only when an existing file cannot be read.
bool LoadLines(const char* fileName, Lines& lines)
{
    const int descriptor = open(fileName, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT;
    }
    std::string text;
    char block[4096];
    ssize_t count = 0;
    while ((count = read(descriptor, block, sizeof block)) != 0) {
        if (count < 0 && errno != EINTR) {
            close(descriptor);
            return false;
        }
        text.append(block, count < 0 ? 0 : static_cast<std::size_t>(count));
    }
    close(descriptor);
    lines = SplitLines(text);
    return true;
}

void Terminate(std::string& line, const std::string& newline)
{
    if (LineEnd(line).empty()) {
        line += newline;
    }
}

void SetValue(Lines& lines, const char* section, const char* key, const char* value)
{
    const Location at = Locate(lines, section, key);
    const std::string newline = lines.empty() || LineEnd(lines[0]).empty() ? "\n" : LineEnd(lines[0]);
    const std::string entry = std::string(key) + "=" + value + newline;
    if (at.key != kNone) {
        std::string& line = lines[at.key];
        line = Content(line).substr(0, Classify(line).valueStart) + value + LineEnd(line);
    } else if (at.section != kNone) {
        Terminate(lines[at.insertAfter], newline);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at.insertAfter) + 1, entry);
    } else {
        if (!lines.empty()) {
            Terminate(lines.back(), newline);
            if (Classify(lines.back()).kind != LineBlank) {
                lines.push_back(newline);
            }
        }
        lines.push_back("[" + std::string(section) + "]" + newline);
        lines.push_back(entry);
    }
}

bool WriteAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno != EINTR) {
            return false;
        }
        written += count < 0 ? 0 : static_cast<std::size_t>(count);
    }
    return true;
}

bool ReplaceFile(const std::string& fileName, const Lines& lines)
{
    const std::string temporary = fileName + ".tmp";
    unlink(temporary.c_str());
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return false;
    }
    struct stat existing;
    if (stat(fileName.c_str(), &existing) == 0) {
        fchmod(descriptor, existing.st_mode & 07777);
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    bool replaced = WriteAll(descriptor, text) && fsync(descriptor) == 0;
    replaced = close(descriptor) == 0 && replaced;
    replaced = replaced && (renameHook == nullptr || renameHook())
        && rename(temporary.c_str(), fileName.c_str()) == 0;
    if (!replaced) {
        unlink(temporary.c_str());
    }
    return replaced;
}

// Holds the advisory lock on "<ini>.lock" for one read-modify-write.
class ProfileLock {
public:
    explicit ProfileLock(const std::string& fileName)
        : descriptor(open((fileName + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        while (descriptor >= 0 && flock(descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(descriptor);
                descriptor = -1;
            }
        }
    }
    ~ProfileLock()
    {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    bool Held() const { return descriptor >= 0; }

private:
    int descriptor;
};

}  // namespace

void SetProfileRenameHookForTesting(bool (*hook)())
{
    renameHook = hook;
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName)
{
    Lines lines;
    if (section == nullptr || key == nullptr || fileName == nullptr || !LoadLines(fileName, lines)) {
        return static_cast<UINT>(defaultValue);
    }
    const Location at = Locate(lines, section, key);
    if (at.key == kNone) {
        return static_cast<UINT>(defaultValue);
    }
    const std::string value = ValueAt(lines[at.key]);
    return value.empty() ? static_cast<UINT>(defaultValue) : LeadingInteger(value);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName)
{
    if (section == nullptr || key == nullptr || value == nullptr || fileName == nullptr
        || !NamesFile(fileName)) {
        return FALSE;
    }
    const ProfileLock lock(fileName);
    Lines lines;
    if (!lock.Held() || !LoadLines(fileName, lines)) {
        return FALSE;
    }
    SetValue(lines, section, key, value);
    return ReplaceFile(fileName, lines) ? TRUE : FALSE;
}
