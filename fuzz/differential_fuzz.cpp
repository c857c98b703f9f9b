// The analyzer as built against the reference copy of its older scanner, rules and output
// path (fuzz/reference), on the same message under the same settings: result, score,
// findings and the message text afterwards must agree byte for byte. The first byte is
// the Flags word, the second picks the points and whether the message is repeated past
// the in-memory limit so that it goes through the temporary file; the rest is the
// message, up to its first NUL as the host would pass it.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "common/category.h"
#include "fuzz/scratch_directory.h"
#include "fuzz/reference/filter_engine.h"
#include "tagstrip/host_api.h"

namespace {

constexpr int kPointSetCount = 3;
const int kPointSets[kPointSetCount][CategoryCount] = {
    {50, 10, 60, 60, 10, 60, 100, 10},                        // the defaults
    {0, -5, 0, 1, 0, -1, 0, 7},                               // nothing or little scored
    {2147483647, 2147483647, 1, -2147483647, 3, 4, 5, 2147483647},  // the score wraps
};

constexpr std::size_t kInMemoryLimit = 20000;

struct Harness {
    std::filesystem::path root;
    std::filesystem::path tempDirectory;
    InitAnalyzerFn initAnalyzer = nullptr;
    AnalyzeFn analyze = nullptr;
    std::map<int, AnalyzerInstance*> instances;
};

// Never destroyed: the instances stay reachable until the process ends, as a host keeps them.
Harness& TheHarness()
{
    static Harness& harness = *new Harness;
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

// One instance per Flags word and point set, made when first needed.
AnalyzerInstance* InstanceFor(int flags, int pointSet)
{
    Harness& harness = TheHarness();
    const int key = flags * kPointSetCount + pointSet;
    AnalyzerInstance*& instance = harness.instances[key];
    if (instance == nullptr) {
        const std::filesystem::path iniDirectory = harness.root / std::to_string(key);
        std::filesystem::create_directory(iniDirectory);
        std::ofstream ini(iniDirectory / "Tagstrip.ini");
        ini << "[Settings]\nFlags=" << flags << "\n";
        for (int category = 0; category < CategoryCount; ++category) {
            ini << kCategories[category].pointsKey << "=" << kPointSets[pointSet][category] << "\n";
        }
        ini.close();
        instance = harness.initAnalyzer(harness.root.c_str(), iniDirectory.c_str());
        if (instance == nullptr) {
            std::abort();
        }
    }
    return instance;
}

void SetUp()
{
    Harness& harness = TheHarness();
    static const ScratchDirectory scratch("differential-fuzz");
    harness.root = scratch.path;
    harness.tempDirectory = harness.root / "tmp";
    std::filesystem::create_directory(harness.tempDirectory);
    setenv("TMPDIR", harness.tempDirectory.c_str(), 1);
    void* module = dlopen(TAGSTRIP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::abort();
    }
    harness.initAnalyzer = Resolve<InitAnalyzerFn>(module, "InitAnalyzer");
    harness.analyze = Resolve<AnalyzeFn>(module, "Analyze");
}

// The message repeated until it is longer than the in-memory limit.
std::string Lengthened(const std::string& message)
{
    std::string longer = message;
    while (!message.empty() && longer.size() <= kInMemoryLimit) {
        longer += message;
    }
    return longer;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int flags = data[0];
    const int pointSet = (data[1] & 0x0F) % kPointSetCount;
    const bool lengthen = (data[1] & 0xF0) == 0xF0;
    std::string message = std::string(reinterpret_cast<const char*>(data) + 2, size - 2).c_str();
    if (lengthen) {
        message = Lengthened(message);
    }

    const reference::Analysis expected = reference::AnalyzeMessage(message, flags, kPointSets[pointSet]);

    Harness& harness = TheHarness();
    CString text(message.data(), static_cast<int>(message.size()));
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    const int result = harness.analyze(InstanceFor(flags, pointSet), &record);

    if (result != expected.result || record.score != expected.score ||
        std::string(record.findings, record.findings.GetLength()) != expected.findings ||
        std::string(text, text.GetLength()) != expected.text) {
        std::abort();
    }
    if (!std::filesystem::is_empty(harness.tempDirectory)) {
        std::abort();
    }
    return 0;
}
