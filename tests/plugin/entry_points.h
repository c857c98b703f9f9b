#ifndef TAGSTRIP_TESTS_PLUGIN_ENTRY_POINTS_H
#define TAGSTRIP_TESTS_PLUGIN_ENTRY_POINTS_H

#include "tagstrip/host_api.h"

// The module's ten exported functions, as a test host resolves them.
struct EntryPoints {
    InitAnalyzerFn initAnalyzer;
    UnInitAnalyzerFn unInitAnalyzer;
    GetAnalyzerNameFn getAnalyzerName;
    GetAnalyzerOrderFn getAnalyzerOrder;
    GetAnalyzerTypeFn getAnalyzerType;
    GetAnalyzerIconIDFn getAnalyzerIconID;
    GetAnalyzerConfigPageFn getAnalyzerConfigPage;
    GetAnalyzerRightClickMenuFn getAnalyzerRightClickMenu;
    DoAnalyzerRightClickFn doAnalyzerRightClick;
    AnalyzeFn analyze;
};

#endif
