#include "cli/termination_cleanup.h"

#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/kernel/private_temp_directory.h"

namespace {

const int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t EndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : kEndingSignals) {
        sigaddset(&signals, signal);
    }
    return signals;
}

// Then the abandoned ones, so that the last process out leaves the system's directory
// as it found it.
void RemoveTree(const std::string& directory)
{
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    PrivateTempDirectory::RemoveAbandoned(directory.substr(0, directory.rfind('/') + 1));
}

// Waits for an ending signal, removes the directory, and lets the signal end the program.
void WatchForEndingSignals(std::string directory)
{
    sigset_t signals = EndingSignals();
    int received = 0;
    if (sigwait(&signals, &received) != 0) {
        return;
    }
    RemoveTree(directory);
    signal(received, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    raise(received);
}

std::string MakePrivateDirectory()
{
    const char* base = getenv("TMPDIR");
    const std::string systemPath = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/";
    // Named like PrivateTempDirectory's, so that a later run removes it if we are killed.
    std::string pattern = systemPath + "tagstrip-" + std::to_string(getpid()) + "-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        return std::string();
    }
    PrivateTempDirectory::NoteMade(systemPath);
    return pattern;
}

// The ending signals are blocked before the directory exists, so that none of them can
// end the program between its making and the watcher's start.
std::string MakeWatchedDirectory()
{
    sigset_t signals = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::string directory = MakePrivateDirectory();
    if (directory.empty()) {
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
        return directory;
    }
    try {
        std::thread(WatchForEndingSignals, directory).detach();
    } catch (const std::system_error&) {
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    }
    return directory;
}

std::mutex making;
TerminationCleanup* current = nullptr;

}  // namespace

TerminationCleanup::TerminationCleanup()
{
    const std::lock_guard<std::mutex> lock(making);
    current = this;
    SetTempPathSource(DirectoryMadeOnFirstUse);
}

TerminationCleanup::~TerminationCleanup()
{
    SetTempPathSource(nullptr);
    const std::lock_guard<std::mutex> lock(making);
    current = nullptr;
    if (!directory.empty()) {
        RemoveTree(directory);
    }
}

std::string TerminationCleanup::DirectoryMadeOnFirstUse()
{
    const std::lock_guard<std::mutex> lock(making);
    if (current == nullptr) {
        return std::string();
    }
    if (!current->made) {
        current->directory = MakeWatchedDirectory();
        current->made = true;
    }
    return current->directory;
}
