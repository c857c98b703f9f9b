// Analyze through the real module's entry points, with the Flags word chosen by the
// first byte and the message from the rest. With Flags 0 the message must come back
// untouched with result 0; a rewritten message must be exactly what the walker and the
// rules write in memory, whether it went through the temporary file or not; and no
// temporary file may be left behind.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/scratch_directory.h"
#include "platform/kernel/windows.h"
#include "tagstrip/host_api.h"
#include "tests/support/filter_run.h"

namespace {

const int kFlagChoices[] = {0, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x41, 0xFF};
constexpr int kChoiceCount = sizeof(kFlagChoices) / sizeof(kFlagChoices[0]);

struct Harness {
    std::filesystem::path root;
    std::filesystem::path tempDirectory;
    AnalyzeFn analyze = nullptr;
    AnalyzerInstance* instances[kChoiceCount] = {};
};

Harness& TheHarness()
{
    static Harness harness;
    return harness;
}

template <typename Function>
Function Resolve(void* module, const char* name)
{
    void* symbol = dlsym(module, name);
    if (symbol == nullptr) {
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

void SetUp()
{
    Harness& harness = TheHarness();
    static const ScratchDirectory scratch("analyze-fuzz");
    harness.root = scratch.path;
    harness.tempDirectory = harness.root / "tmp";
    std::filesystem::create_directory(harness.tempDirectory);
    setenv("TMPDIR", harness.tempDirectory.c_str(), 1);

    void* module = dlopen(TAGSTRIP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::abort();
    }
    const auto initAnalyzer = Resolve<InitAnalyzerFn>(module, "InitAnalyzer");
    harness.analyze = Resolve<AnalyzeFn>(module, "Analyze");
    for (int choice = 0; choice < kChoiceCount; ++choice) {
        const std::filesystem::path iniDirectory = harness.root / std::to_string(choice);
        std::filesystem::create_directory(iniDirectory);
        const std::string flags = std::to_string(kFlagChoices[choice]);
        WritePrivateProfileStringA("Settings", "Flags", flags.c_str(),
                                   (iniDirectory / "Tagstrip.ini").c_str());
        harness.instances[choice] = initAnalyzer(harness.root.c_str(), iniDirectory.c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    Harness& harness = TheHarness();
    const int choice = data[0] % kChoiceCount;
    const std::string original(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string asText = original.c_str();

    CString message(original.c_str());
    AnalysisRecord record{&message, 0, 0, 0, CString()};
    const int replaced = harness.analyze(harness.instances[choice], &record);

    if (kFlagChoices[choice] == 0 && (replaced != 0 || asText != static_cast<const char*>(message))) {
        std::abort();
    }
    if (replaced == 0 && asText != static_cast<const char*>(message)) {
        std::abort();
    }
    if (replaced != 0 && FilterMessage(asText, kFlagChoices[choice]) != static_cast<const char*>(message)) {
        std::abort();
    }
    if (!std::filesystem::is_empty(harness.tempDirectory)) {
        std::abort();
    }
    return 0;
}
