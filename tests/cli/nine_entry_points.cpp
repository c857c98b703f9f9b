// A module that exports nine of the ten analyzer entry points: GetAnalyzerIconID is
// missing, and the host must refuse to use it.
extern "C" {
__attribute__((visibility("default"))) void* InitAnalyzer(const char*, const char*) { return nullptr; }
__attribute__((visibility("default"))) int UnInitAnalyzer(void*) { return 0; }
__attribute__((visibility("default"))) int GetAnalyzerName(void*, void*) { return 0; }
__attribute__((visibility("default"))) int GetAnalyzerOrder(void*) { return 0; }
__attribute__((visibility("default"))) int GetAnalyzerType() { return 3; }
__attribute__((visibility("default"))) void* GetAnalyzerConfigPage(void*, void*) { return nullptr; }
__attribute__((visibility("default"))) int GetAnalyzerRightClickMenu() { return 0; }
__attribute__((visibility("default"))) int DoAnalyzerRightClick() { return 0; }
__attribute__((visibility("default"))) int Analyze(void*, void*) { return 0; }
}
