#ifndef TAGSTRIP_HOST_HOSTED_ANALYZER_H
#define TAGSTRIP_HOST_HOSTED_ANALYZER_H

#include <memory>
#include <string>

#include "host/analyzer_module.h"

// One analyzer module, loaded, with its one analyzer instance, set up in the order the
// host contract asks for: InitAnalyzer, name, order, type, icon. UnInitAnalyzer and
// unloading when it goes.
class HostedAnalyzer {
public:
    // Loads the module at modulePath and creates its instance with configDirectory as both
    // the host's and the analyzer's ini directory. The host's ini file there, section
    // "AnalyzerOrder", may give the analyzer another order than the module's own answer;
    // its own ini file there says whether it is active.
    // Null with error set on failure.
    static std::unique_ptr<HostedAnalyzer> Open(const std::string& modulePath,
                                                const std::string& configDirectory, std::string& error);
    HostedAnalyzer(const HostedAnalyzer&) = delete;
    HostedAnalyzer& operator=(const HostedAnalyzer&) = delete;
    ~HostedAnalyzer();

    // Runs the analyzer on the record; true when it replaced the message text.
    bool Analyze(AnalysisRecord& record) const;

    const std::string& Path() const { return path; }
    const AnalyzerModule& Module() const { return module; }
    AnalyzerInstance* Instance() const { return instance; }
    const std::string& Name() const { return name; }
    int Order() const { return order; }
    int Type() const { return type; }
    int IconId() const { return iconId; }
    // Active in the analyzer's own ini file, read when the module was loaded.
    bool Active() const { return active; }

private:
    HostedAnalyzer() = default;

    std::string path;
    AnalyzerModule module;
    AnalyzerInstance* instance = nullptr;
    std::string name;
    int order = 0;
    int type = 0;
    int iconId = 0;
    bool active = true;
};

// The host's own ini file in the configuration directory: its "AnalyzerOrder" section
// holds one key per analyzer name.
std::string HostIniPath(const std::string& configDirectory);

#endif
