#include "host/settings_location.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifndef TAGSTRIP_SYSTEM_CONFIG_DIR
#define TAGSTRIP_SYSTEM_CONFIG_DIR "/etc/tagstrip"
#endif

namespace {

enum class PathKind { Missing, Directory, Other };

PathKind KindOf(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        return PathKind::Missing;
    }
    return S_ISDIR(status.st_mode) ? PathKind::Directory : PathKind::Other;
}

std::string ParentOf(const std::string& path)
{
    std::size_t end = path.find_last_not_of('/');
    std::size_t slash = end == std::string::npos ? std::string::npos : path.rfind('/', end);
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> UserDirectory()
{
    if (std::optional<std::string> configHome = AbsoluteVariable("XDG_CONFIG_HOME")) {
        return *configHome + "/tagstrip";
    }
    if (std::optional<std::string> home = AbsoluteVariable("HOME")) {
        return *home + "/.config/tagstrip";
    }
    return std::nullopt;
}

bool CreateLastComponent(const std::string& directory, std::string& error)
{
    std::string parent = ParentOf(directory);
    if (KindOf(parent) != PathKind::Directory) {
        error = "cannot create the settings directory " + directory + ": its parent " + parent +
                " does not exist";
        return false;
    }
    if (mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
        error = "cannot create the settings directory " + directory + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// A directory the user named: it must be there to be read, and only its last
// component is made for writing.
bool UseNamedDirectory(const std::string& directory, SettingsAccess access, SettingsLocation& location,
                       std::string& error)
{
    PathKind kind = KindOf(directory);
    if (kind == PathKind::Other) {
        error = "the settings directory " + directory + " is not a directory";
        return false;
    }
    if (kind == PathKind::Missing && access == SettingsAccess::Read) {
        error = "the settings directory " + directory + " does not exist";
        return false;
    }
    if (kind == PathKind::Missing && !CreateLastComponent(directory, error)) {
        return false;
    }
    location.directory = directory;
    location.found = true;
    return true;
}

}  // namespace

bool LocateSettings(const std::optional<std::string>& explicitDirectory, SettingsAccess access,
                    SettingsLocation& location, std::string& error)
{
    location = SettingsLocation();
    if (explicitDirectory) {
        return UseNamedDirectory(*explicitDirectory, access, location, error);
    }
    const char* fromEnvironment = std::getenv("TAGSTRIP_CONFIG_DIR");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return UseNamedDirectory(fromEnvironment, access, location, error);
    }
    std::optional<std::string> user = UserDirectory();
    if (access == SettingsAccess::Write) {
        if (!user) {
            error = "no place for the settings: neither $XDG_CONFIG_HOME nor $HOME is an absolute path; "
                    "name a directory with --config-dir or $TAGSTRIP_CONFIG_DIR";
            return false;
        }
        return UseNamedDirectory(*user, access, location, error);
    }
    for (const std::optional<std::string>& candidate : {user, std::optional<std::string>(TAGSTRIP_SYSTEM_CONFIG_DIR)}) {
        if (candidate && KindOf(*candidate) == PathKind::Directory) {
            location.directory = *candidate;
            location.found = true;
            return true;
        }
    }
    location.directory = TAGSTRIP_SYSTEM_CONFIG_DIR;
    location.warning = "no settings directory (" + (user ? *user + ", " : std::string()) +
                       TAGSTRIP_SYSTEM_CONFIG_DIR + "); using the built-in settings";
    return true;
}
