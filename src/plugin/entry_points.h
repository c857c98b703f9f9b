// The ten entry points that the module exports by name, with C linkage.
#ifndef TAGSTRIP_PLUGIN_ENTRY_POINTS_H
#define TAGSTRIP_PLUGIN_ENTRY_POINTS_H

#include "tagstrip/host_api.h"

extern "C" {
AnalyzerInstance* InitAnalyzer(const char* hostDirectory, const char* iniDirectory);
int UnInitAnalyzer(AnalyzerInstance* instance) noexcept;
int GetAnalyzerName(AnalyzerInstance* instance, CString* name);
int GetAnalyzerOrder(AnalyzerInstance* instance);
int GetAnalyzerType() noexcept;
int GetAnalyzerIconID(AnalyzerInstance* instance);
CDialog* GetAnalyzerConfigPage(AnalyzerInstance* instance, CWnd* parent);
int GetAnalyzerRightClickMenu() noexcept;
int DoAnalyzerRightClick() noexcept;
int Analyze(AnalyzerInstance* instance, AnalysisRecord* record);
}

#endif
