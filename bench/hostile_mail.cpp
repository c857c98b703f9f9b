// Time and peak memory of Analyze on one hostile message, at its full size divided by
// each DIVISOR given (1 when none):
//   hostile_mail NAME [DIVISOR...]
//   hostile_mail --list
// Run each case in a process of its own: the peak memory is the process's.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/analyzer_module.h"
#include "platform/kernel/windows.h"
#include "tests/support/hostile_messages.h"

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const HostileMessage* Find(const char* name)
{
    for (const HostileMessage& message : HostileMessages()) {
        if (std::strcmp(message.name, name) == 0) {
            return &message;
        }
    }
    return nullptr;
}

int Run(const AnalyzerModule& module, AnalyzerInstance* instance, const HostileMessage& hostile, std::size_t scale)
{
    const std::string message = hostile.make(scale);
    CString text(message.c_str());
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    const auto start = std::chrono::steady_clock::now();
    const int replaced = module.Analyze(instance, &record);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-22s scale %10zu  %9.2f MB  %8.3f s  %7.1f MB/s  result %d  peak %7.1f MB\n", hostile.name, scale,
                message.size() / 1e6, seconds, message.size() / 1e6 / seconds, replaced, PeakKilobytes() / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const HostileMessage& message : HostileMessages()) {
            std::printf("%s\n", message.name);
        }
        return 0;
    }
    const HostileMessage* hostile = argc >= 2 ? Find(argv[1]) : nullptr;
    if (hostile == nullptr) {
        std::fprintf(stderr, "usage: hostile_mail NAME [DIVISOR...] | --list\n");
        return 2;
    }
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "tagstrip-hostile-bench";
    std::filesystem::create_directories(config);
    WritePrivateProfileStringA("Settings", "Flags", "255", (config / "Tagstrip.ini").c_str());
    AnalyzerModule module;
    std::string error;
    if (!module.Load(TAGSTRIP_MODULE_PATH, error)) {
        std::fprintf(stderr, "hostile_mail: %s\n", error.c_str());
        return 2;
    }
    AnalyzerInstance* instance = module.InitAnalyzer(config.c_str(), config.c_str());
    if (argc == 2) {
        Run(module, instance, *hostile, hostile->fullScale);
    }
    for (int index = 2; index < argc; ++index) {
        const std::size_t divisor = std::strtoull(argv[index], nullptr, 10);
        Run(module, instance, *hostile, hostile->fullScale / (divisor > 0 ? divisor : 1));
    }
    module.UnInitAnalyzer(instance);
    module.Unload();
    return 0;
}
