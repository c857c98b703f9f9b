#include "mailbox/scan_items.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include "common/string_helpers.h"

namespace {

std::string JoinPath(const std::string& directory, const std::string& name)
{
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

bool IsDirectory(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool ListDirectory(const std::string& directory, std::vector<std::string>& names, std::string& error)
{
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) {
        error = std::string("cannot open the directory: ") + std::strerror(errno);
        return false;
    }
    while (const dirent* entry = readdir(listing)) {
        if (entry->d_name[0] != '.') {
            names.push_back(entry->d_name);
        }
    }
    closedir(listing);
    std::sort(names.begin(), names.end());
    return true;
}

bool AddDirectoryFiles(const std::string& directory, const std::string& stagingDirectory,
                       const std::string& backupDirectory, bool mboxesByName, std::vector<ScanItem>& items,
                       std::string& error)
{
    std::vector<std::string> names;
    if (!ListDirectory(directory, names, error)) {
        return false;
    }
    for (const std::string& name : names) {
        std::string path = JoinPath(directory, name);
        struct stat status;
        if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            continue;
        }
        bool mbox = mboxesByName && EndsWith(name, ".mbox");
        items.push_back({mbox ? ScanItem::Mbox : ScanItem::MessageFile, path, stagingDirectory,
                         static_cast<std::uint64_t>(status.st_size), JoinPath(backupDirectory, name)});
    }
    return true;
}

}  // namespace

bool ListScanItems(const std::string& path, std::vector<ScanItem>& items, std::string& error)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    if (S_ISREG(status.st_mode)) {
        items.push_back({ScanItem::Mbox, path, "", static_cast<std::uint64_t>(status.st_size), path + ".orig"});
        return true;
    }
    if (!S_ISDIR(status.st_mode)) {
        error = "not a mailbox, a Maildir or a directory of messages";
        return false;
    }
    std::string root = path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    std::string backupRoot = root + ".orig";
    if (IsDirectory(JoinPath(path, "cur")) && IsDirectory(JoinPath(path, "new"))) {
        return AddDirectoryFiles(JoinPath(root, "cur"), JoinPath(root, "tmp"), JoinPath(backupRoot, "cur"), false,
                                 items, error) &&
               AddDirectoryFiles(JoinPath(root, "new"), JoinPath(root, "tmp"), JoinPath(backupRoot, "new"), false,
                                 items, error);
    }
    return AddDirectoryFiles(root, "", backupRoot, true, items, error);
}
