// A directory of a fuzz run's own, "tagstrip-<name>-XXXXXX", memory-backed where the
// system has it: on a disk every file the analyzer writes and deletes costs a journal
// entry. Removed with what it holds when the run ends on its own, as libFuzzer's runs do
// at -max_total_time and -runs; a run that is killed leaves it behind.
#ifndef TAGSTRIP_FUZZ_SCRATCH_DIRECTORY_H
#define TAGSTRIP_FUZZ_SCRATCH_DIRECTORY_H

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class ScratchDirectory {
public:
    explicit ScratchDirectory(const char* name) : path(Make(name)) {}
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path path;

private:
    static std::filesystem::path Make(const char* name)
    {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/tagstrip-" + name + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror(pattern.c_str());
            std::abort();
        }
        return pattern;
    }
};

#endif
