#include "host/hosted_analyzer.h"

#include "host/plugin_settings.h"
#include "platform/kernel/windows.h"

std::string HostIniPath(const std::string& configDirectory)
{
    return configDirectory + "/tagstrip.ini";
}

std::unique_ptr<HostedAnalyzer> HostedAnalyzer::Open(const std::string& modulePath,
                                                     const std::string& configDirectory, std::string& error)
{
    std::unique_ptr<HostedAnalyzer> analyzer(new HostedAnalyzer());
    analyzer->path = modulePath;
    if (!analyzer->module.Load(modulePath, error)) {
        return nullptr;
    }
    analyzer->instance = analyzer->module.InitAnalyzer(configDirectory.c_str(), configDirectory.c_str());
    if (analyzer->instance == nullptr) {
        error = modulePath + ": InitAnalyzer created no analyzer instance";
        return nullptr;
    }
    CString analyzerName;
    analyzer->module.GetAnalyzerName(analyzer->instance, &analyzerName);
    analyzer->name.assign(analyzerName, analyzerName.GetLength());
    const int moduleOrder = analyzer->module.GetAnalyzerOrder(analyzer->instance);
    analyzer->order = static_cast<int>(GetPrivateProfileIntA("AnalyzerOrder", analyzer->name.c_str(), moduleOrder,
                                                             HostIniPath(configDirectory).c_str()));
    analyzer->type = analyzer->module.GetAnalyzerType();
    analyzer->iconId = analyzer->module.GetAnalyzerIconID(analyzer->instance);
    analyzer->active = AnalyzerActive(PluginIniPath(modulePath, configDirectory));
    return analyzer;
}

HostedAnalyzer::~HostedAnalyzer()
{
    if (instance != nullptr) {
        module.UnInitAnalyzer(instance);
    }
    module.Unload();
}

bool HostedAnalyzer::Analyze(AnalysisRecord& record) const
{
    return module.Analyze(instance, &record) == 1;
}
