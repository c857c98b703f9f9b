#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/private_temp_directory.h"
#include "platform/kernel/windows.h"

namespace {

constexpr UINT kLargestUnique = 0xFFFF;

std::atomic<unsigned> nextUnique{static_cast<unsigned>(getpid())};

std::atomic<TempPathSource> tempPathSource{nullptr};

UINT NextUniqueNumber()
{
    return nextUnique.fetch_add(1, std::memory_order_relaxed) % kLargestUnique + 1;
}

std::string TempFileName(LPCSTR pathName, LPCSTR prefix, UINT unique)
{
    std::string name = pathName;
    if (!name.empty() && name.back() != '/') {
        name += '/';
    }
    name.append(prefix, strnlen(prefix, 3));
    char digits[16];
    std::snprintf(digits, sizeof digits, "%x.tmp", unique);
    return name + digits;
}

std::string TempPathFromEnvironment()
{
    const char* fromEnvironment = std::getenv("TMPDIR");
    return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "/tmp";
}

std::string TempPath()
{
    const TempPathSource source = tempPathSource.load();
    std::string path = source != nullptr ? source() : std::string();
    return path.empty() ? TempPathFromEnvironment() : path;
}

UINT CopyName(const std::string& name, UINT unique, LPSTR tempFileName)
{
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return unique;
}

}  // namespace

void SetTempPathSource(TempPathSource source)
{
    tempPathSource.store(source);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer)
{
    std::string path = TempPath();
    if (path.back() != '/') {
        path += '/';
    }
    if (path.size() >= size) {
        return static_cast<DWORD>(path.size() + 1);
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

// With unique 0, tries numbers until it creates a file that did not exist before, which
// the caller then owns; any other unique only builds the name.
UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName)
{
    if (pathName == nullptr || prefix == nullptr || tempFileName == nullptr) {
        return 0;
    }
    for (UINT attempt = 0; attempt < kLargestUnique; ++attempt) {
        const UINT candidate = unique != 0 ? unique : NextUniqueNumber();
        const std::string name = TempFileName(pathName, prefix, candidate);
        if (name.size() > MAX_PATH) {
            return 0;
        }
        if (unique != 0) {
            return CopyName(name, unique, tempFileName);
        }
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor >= 0) {
            close(descriptor);
            return CopyName(name, candidate, tempFileName);
        }
        if (errno != EEXIST) {
            return 0;
        }
    }
    return 0;
}

BOOL DeleteFileA(LPCSTR fileName)
{
    return fileName != nullptr && unlink(fileName) == 0 ? TRUE : FALSE;
}
