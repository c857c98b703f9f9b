#include "cli/session_setup.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

#include "mailbox/file_io.h"

namespace {

std::string ProgramDirectory()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? DirectoryOf(std::string(path, static_cast<std::size_t>(length))) : ".";
}

std::string DefaultConfigDirectory()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome != '\0') {
        return std::string(configHome) + "/tagstrip";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/tagstrip";
}

}  // namespace

bool ConfigDirectory(const ParsedCommandLine& commandLine, std::string& directory, std::string& error)
{
    directory = commandLine.Value("--config-dir", DefaultConfigDirectory());
    return MakeDirectories(directory, error);
}

std::string ModulePath(const ParsedCommandLine& commandLine)
{
    return commandLine.Value("--module", ProgramDirectory() + "/Tagstrip.Analyzer");
}

std::unique_ptr<HostSession> OpenSession(const ParsedCommandLine& commandLine)
{
    std::string directory;
    std::string error;
    std::unique_ptr<HostSession> session;
    if (ConfigDirectory(commandLine, directory, error)) {
        session = HostSession::Open(ModulePath(commandLine), directory, error);
    }
    if (session == nullptr) {
        std::cerr << "tagstrip: " << error << '\n';
    }
    return session;
}
