#ifndef TAGSTRIP_TESTS_ANALYSIS_MODULE_HARNESS_H
#define TAGSTRIP_TESTS_ANALYSIS_MODULE_HARNESS_H

#include <filesystem>
#include <map>
#include <string>

#include "tagstrip/host_api.h"

// The analyzer module as a host sees it: loaded with dlopen, driven through its entry
// points, with settings written to its ini file before each instance is made. Every
// harness has a fresh directory of its own, and TMPDIR points into it.
class ModuleHarness {
public:
    ModuleHarness();
    ~ModuleHarness();
    ModuleHarness(const ModuleHarness&) = delete;
    ModuleHarness& operator=(const ModuleHarness&) = delete;

    struct Result {
        int replaced;
        std::string text;
        std::int32_t score;
        std::string findings;
    };

    // One Analyze call with an instance made from flags and points (by their ini keys).
    Result Analyze(const std::string& message, int flags, const std::map<std::string, int>& points = {},
                   std::int32_t score = 0, const char* findings = "");

    // The host's own call, on a record it made.
    int Analyze(AnalysisRecord& record, int flags);

    const std::filesystem::path& TempDirectory() const { return tempDirectory; }

private:
    AnalyzerInstance* MakeInstance(int flags, const std::map<std::string, int>& points);

    std::filesystem::path root;
    std::filesystem::path tempDirectory;
    int instanceCount = 0;
    void* module;
    InitAnalyzerFn initAnalyzer;
    UnInitAnalyzerFn unInitAnalyzer;
    AnalyzeFn analyze;
};

#endif
