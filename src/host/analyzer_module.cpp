#include "host/analyzer_module.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool Resolve(void* handle, const char* name, Function& function, std::string& error)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (function == nullptr) {
        error = std::string("the module does not export the entry point ") + name;
        return false;
    }
    return true;
}

}  // namespace

bool AnalyzerModule::Load(const std::string& path, std::string& error)
{
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::string reason = dlerror();
        if (reason.compare(0, path.size() + 2, path + ": ") == 0) {
            reason.erase(0, path.size() + 2);
        }
        error = "cannot load the analyzer module " + path + ": " + reason;
        return false;
    }
    bool resolved = Resolve(handle, "InitAnalyzer", InitAnalyzer, error) &&
                    Resolve(handle, "UnInitAnalyzer", UnInitAnalyzer, error) &&
                    Resolve(handle, "GetAnalyzerName", GetAnalyzerName, error) &&
                    Resolve(handle, "GetAnalyzerOrder", GetAnalyzerOrder, error) &&
                    Resolve(handle, "GetAnalyzerType", GetAnalyzerType, error) &&
                    Resolve(handle, "GetAnalyzerIconID", GetAnalyzerIconID, error) &&
                    Resolve(handle, "GetAnalyzerConfigPage", GetAnalyzerConfigPage, error) &&
                    Resolve(handle, "GetAnalyzerRightClickMenu", GetAnalyzerRightClickMenu, error) &&
                    Resolve(handle, "DoAnalyzerRightClick", DoAnalyzerRightClick, error) &&
                    Resolve(handle, "Analyze", Analyze, error);
    if (!resolved) {
        error = path + ": " + error;
        Unload();
    }
    return resolved;
}

void AnalyzerModule::Unload()
{
    if (handle != nullptr) {
        dlclose(handle);
    }
    *this = AnalyzerModule();
}
