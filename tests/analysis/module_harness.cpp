#include "module_harness.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <stdexcept>

#include "platform/kernel/windows.h"

namespace {

template <typename Function>
Function Resolve(void* module, const char* name)
{
    void* symbol = dlsym(module, name);
    if (symbol == nullptr) {
        throw std::runtime_error(std::string("missing entry point ") + name);
    }
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

ModuleHarness::ModuleHarness() : module(dlopen(TAGSTRIP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL))
{
    if (module == nullptr) {
        throw std::runtime_error(dlerror());
    }
    initAnalyzer = Resolve<InitAnalyzerFn>(module, "InitAnalyzer");
    unInitAnalyzer = Resolve<UnInitAnalyzerFn>(module, "UnInitAnalyzer");
    analyze = Resolve<AnalyzeFn>(module, "Analyze");
    char pattern[] = "/tmp/tagstrip-analysis-test-XXXXXX";
    root = mkdtemp(pattern);
    tempDirectory = root / "tmp";
    std::filesystem::create_directory(tempDirectory);
    setenv("TMPDIR", tempDirectory.c_str(), 1);
}

ModuleHarness::~ModuleHarness()
{
    std::filesystem::remove_all(root);
    dlclose(module);
}

ModuleHarness::Result ModuleHarness::Analyze(const std::string& message, int flags,
                                             const std::map<std::string, int>& points, std::int32_t score,
                                             const char* findings)
{
    AnalyzerInstance* instance = MakeInstance(flags, points);
    CString text(message.data(), static_cast<int>(message.size()));
    AnalysisRecord record{&text, 0, 0, score, CString(findings)};
    const int replaced = analyze(instance, &record);
    unInitAnalyzer(instance);
    return {replaced, std::string(text, text.GetLength()), record.score,
            std::string(record.findings, record.findings.GetLength())};
}

int ModuleHarness::Analyze(AnalysisRecord& record, int flags)
{
    AnalyzerInstance* instance = MakeInstance(flags, {});
    const int replaced = analyze(instance, &record);
    unInitAnalyzer(instance);
    return replaced;
}

AnalyzerInstance* ModuleHarness::MakeInstance(int flags, const std::map<std::string, int>& points)
{
    const std::filesystem::path iniDirectory = root / ("ini" + std::to_string(++instanceCount));
    std::filesystem::create_directory(iniDirectory);
    const std::string iniPath = (iniDirectory / "Tagstrip.ini").string();
    WritePrivateProfileStringA("Settings", "Flags", std::to_string(flags).c_str(), iniPath.c_str());
    for (const auto& [key, value] : points) {
        WritePrivateProfileStringA("Settings", key.c_str(), std::to_string(value).c_str(), iniPath.c_str());
    }
    return initAnalyzer(root.c_str(), iniDirectory.c_str());
}
