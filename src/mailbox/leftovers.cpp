#include "mailbox/leftovers.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/private_temp_directory.h"

namespace {

constexpr std::time_t kMaildirTmpLifetime = 36 * 60 * 60;
const char kStagedMark[] = ".tagstrip-";
constexpr std::size_t kUniqueSuffixLength = 6;

// liblockfile links its dotlock from ".lk<pid><one hex digit><host name>", which stays
// when the process is killed in between.
long LockfileTemporaryWriter(const std::string& name)
{
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    std::size_t hostLength = std::strlen(host);
    if (name.compare(0, 3, ".lk") != 0 || name.size() < 3 + 5 + 1 + hostLength ||
        name.compare(name.size() - hostLength, hostLength, host) != 0) {
        return 0;
    }
    std::string digits = name.substr(3, name.size() - hostLength - 4);
    bool numeric = digits.find_first_not_of("0123456789") == std::string::npos;
    return numeric ? std::atol(digits.c_str()) : 0;
}

bool IsLeftover(const std::string& path, const std::string& name, bool maildirTmp, std::time_t now)
{
    long writer = StagedFileWriter(name);
    writer = writer != 0 ? writer : LockfileTemporaryWriter(name);
    if (writer != 0 && !ProcessIsAlive(writer)) {
        return true;
    }
    struct stat status;
    return maildirTmp && lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           now - status.st_mtime > kMaildirTmpLifetime;
}

}  // namespace

long StagedFileWriter(const std::string& name)
{
    std::size_t mark = name.rfind(kStagedMark);
    if (name.empty() || name[0] != '.' || mark == std::string::npos) {
        return 0;
    }
    const char* digits = name.c_str() + mark + sizeof kStagedMark - 1;
    char* end = nullptr;
    long writer = std::strtol(digits, &end, 10);
    bool wellFormed = end != digits && *end == '-' && std::strlen(end + 1) == kUniqueSuffixLength;
    return wellFormed ? writer : 0;
}

std::vector<std::string> RemoveLeftovers(const std::string& directory, bool maildirTmp)
{
    std::vector<std::string> removed;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) {
        return removed;
    }
    std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        std::string path = directory + "/" + name;
        if (name != "." && name != ".." && IsLeftover(path, name, maildirTmp, now) && unlink(path.c_str()) == 0) {
            removed.push_back(path);
        }
    }
    closedir(listing);
    return removed;
}
