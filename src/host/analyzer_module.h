#ifndef TAGSTRIP_HOST_ANALYZER_MODULE_H
#define TAGSTRIP_HOST_ANALYZER_MODULE_H

#include <string>

#include "tagstrip/host_api.h"

// The analyzer module loaded with dlopen, with its ten entry points resolved by name.
struct AnalyzerModule {
    void* handle = nullptr;
    InitAnalyzerFn InitAnalyzer = nullptr;
    UnInitAnalyzerFn UnInitAnalyzer = nullptr;
    GetAnalyzerNameFn GetAnalyzerName = nullptr;
    GetAnalyzerOrderFn GetAnalyzerOrder = nullptr;
    GetAnalyzerTypeFn GetAnalyzerType = nullptr;
    GetAnalyzerIconIDFn GetAnalyzerIconID = nullptr;
    GetAnalyzerConfigPageFn GetAnalyzerConfigPage = nullptr;
    GetAnalyzerRightClickMenuFn GetAnalyzerRightClickMenu = nullptr;
    DoAnalyzerRightClickFn DoAnalyzerRightClick = nullptr;
    AnalyzeFn Analyze = nullptr;

    // Loads the module at path; on failure returns false with a message naming the file
    // or the missing entry point.
    bool Load(const std::string& path, std::string& error);
    void Unload();
};

#endif
