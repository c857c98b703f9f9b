#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/windows.h"

// A module handle is the load base of a shared object; dladdr on it names the object
// that is mapped there. Null names the running executable.
namespace {

std::string SharedObjectPath(HMODULE module)
{
    Dl_info info;
    if (dladdr(module, &info) == 0 || info.dli_fbase != module || info.dli_fname == nullptr) {
        return std::string();
    }
    char resolved[PATH_MAX];
    return realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
}

std::string ExecutablePath()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length <= 0 || length == static_cast<ssize_t>(sizeof path)
        ? std::string()
        : std::string(path, static_cast<std::size_t>(length));
}

}  // namespace

// As the system does it: a path that does not fit is cut to size - 1 characters plus
// the NUL, and the result is then size.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    const std::string path = module == nullptr ? ExecutablePath() : SharedObjectPath(module);
    if (path.empty() || size == 0) {
        return 0;
    }
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}
