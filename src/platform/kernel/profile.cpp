// Private-profile (ini) files, read and written one key at a time with no cache.
//
// Reads follow the system's own calls: a line ends in CR LF, LF or a lone CR; a UTF-8
// byte-order mark at the start is skipped; a section header runs from '[' to the last
// ']' on its line, and a line with '[' but no ']' is no header at all; a value ends at a
// NUL and loses matching quotes around it; an integer is read as the system reads one
// (see ParseInteger).
//
// Writes differ on purpose: a file is held as its lines, each with its own line end, so
// that a write changes the one line it concerns and leaves every other byte as it was
// (the system rewrites the whole file from what it parsed, dropping blank lines), and a
// new file gets this platform's LF line ends. Names of sections and keys match with A-Z
// folded and blanks around them ignored; the first of two equal sections or keys is the
// one read and written.
//
// A write never leaves a half-written file: the new contents go to "<ini>.tmp", are
// flushed to disk and renamed over the ini file. Writers in any process take an advisory
// lock on "<ini>.lock" around reading, changing and replacing, so no update is lost; the
// last writer out removes the lock file.
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
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
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
    if (line.empty() || (line.back() != '\n' && line.back() != '\r')) {
        return "";
    }
    return std::string(1, line.back());
}

std::string Content(const std::string& line)
{
    return line.substr(0, line.size() - LineEnd(line).size());
}

LineInfo Classify(const std::string& line)
{
    const std::string content = Content(line);
    const std::string trimmed = Trim(content);
    if (trimmed.empty() || trimmed == kByteOrderMark) {
        return {LineBlank, std::string(), kNone};
    }
    if (trimmed[0] == ';' || trimmed[0] == '#') {
        return {LineComment, std::string(), kNone};
    }
    if (trimmed[0] == '[') {
        const std::size_t closing = trimmed.rfind(']');
        return closing == kNone ? LineInfo{LineComment, std::string(), kNone}
                                : LineInfo{LineSection, Trim(trimmed.substr(1, closing - 1)), kNone};
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

// The value of an entry line, which as a C string ends at a NUL; matching quotes around
// it go.
std::string ValueAt(const std::string& line)
{
    const std::string raw = Content(line).substr(Classify(line).valueStart);
    const std::string value = Trim(raw.substr(0, raw.find('\0')));
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    return quoted ? value.substr(1, value.size() - 2) : value;
}

int DigitValue(char character)
{
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    const char folded = static_cast<char>(character | 0x20);
    return folded >= 'a' && folded <= 'z' ? folded - 'a' + 10 : 36;
}

// As the system reads an integer: control characters and blanks first, then one sign,
// then "0x", "0o" or "0b" (lower case only) for hexadecimal, octal or binary, else
// decimal; digits up to the first that does not belong, none giving 0. Wraps around like
// the 32-bit arithmetic it stands for.
UINT ParseInteger(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    at += at < text.size() && (text[at] == '-' || text[at] == '+') ? 1 : 0;
    UINT radix = 10;
    if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0o") == 0 || text.compare(at, 2, "0b") == 0) {
        radix = text[at + 1] == 'x' ? 16 : text[at + 1] == 'o' ? 8 : 2;
        at += 2;
    }
    UINT result = 0;
    for (; at < text.size() && static_cast<UINT>(DigitValue(text[at])) < radix; ++at) {
        result = result * radix + static_cast<UINT>(DigitValue(text[at]));
    }
    return negative ? 0u - result : result;
}

// Lines end in CR LF, LF or a lone CR. A byte-order mark at the start is a line of its
// own, without a line end, so that it stays where it is.
Lines SplitLines(const std::string& text)
{
    Lines lines;
    std::size_t start = 0;
    if (text.compare(0, 3, kByteOrderMark) == 0) {
        lines.push_back(kByteOrderMark);
        start = 3;
    }
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == kNone) {
            end = text.size();
        } else {
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        }
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

// The line end of the file's first line that has one; LF for a file without any.
std::string FileNewline(const Lines& lines)
{
    for (const std::string& line : lines) {
        if (!LineEnd(line).empty()) {
            return LineEnd(line);
        }
    }
    return "\n";
}

void SetValue(Lines& lines, const char* section, const char* key, const char* value)
{
    const Location at = Locate(lines, section, key);
    const std::string newline = FileNewline(lines);
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

// Holds the advisory lock on "<ini>.lock" for one read-modify-write, and removes the
// lock file when done. A writer that was waiting for a lock file that has since been
// removed holds a lock on nothing, so it takes the lock on the file now at that name.
class ProfileLock {
public:
    explicit ProfileLock(const std::string& fileName) : lockName(fileName + ".lock"), descriptor(-1)
    {
        while (descriptor < 0) {
            descriptor = open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (descriptor < 0 || !LockOrGiveUp()) {
                return;
            }
            if (!StillNamed()) {
                close(descriptor);
                descriptor = -1;
            }
        }
    }
    ~ProfileLock()
    {
        if (descriptor >= 0) {
            unlink(lockName.c_str());
            close(descriptor);
        }
    }
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    bool Held() const { return descriptor >= 0; }

private:
    bool LockOrGiveUp()
    {
        while (flock(descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(descriptor);
                descriptor = -1;
                return false;
            }
        }
        return true;
    }

    // Whether the locked file is still the one at the lock file's name.
    bool StillNamed() const
    {
        struct stat locked;
        struct stat named;
        return fstat(descriptor, &locked) == 0 && stat(lockName.c_str(), &named) == 0
            && locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
    }

    std::string lockName;
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
    return value.empty() ? static_cast<UINT>(defaultValue) : ParseInteger(value);
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
