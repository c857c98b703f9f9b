#include "host/host_session.h"

#include <climits>

#include "host/message_text.h"
#include "host/plugin_settings.h"

namespace {

// The analyzer's strings count their length in an int.
constexpr std::size_t kLargestMessage = INT_MAX / 2;

}  // namespace

std::unique_ptr<HostSession> HostSession::Open(const std::string& modulePath,
                                               const std::string& configDirectory, std::string& error)
{
    std::unique_ptr<HostSession> session(new HostSession());
    if (!session->module.Load(modulePath, error)) {
        return nullptr;
    }
    session->instance = session->module.InitAnalyzer(configDirectory.c_str(), configDirectory.c_str());
    if (session->instance == nullptr) {
        error = modulePath + ": InitAnalyzer created no analyzer instance";
        return nullptr;
    }
    CString analyzerName;
    session->module.GetAnalyzerName(session->instance, &analyzerName);
    session->name.assign(analyzerName, analyzerName.GetLength());
    session->order = session->module.GetAnalyzerOrder(session->instance);
    session->type = session->module.GetAnalyzerType();
    session->iconId = session->module.GetAnalyzerIconID(session->instance);
    session->active = AnalyzerActive(PluginIniPath(modulePath, configDirectory));
    return session;
}

HostSession::~HostSession()
{
    if (instance != nullptr) {
        module.UnInitAnalyzer(instance);
    }
    module.Unload();
}

MessageAnalysis HostSession::Analyze(const std::string& message) const
{
    MessageAnalysis analysis;
    if (!active) {
        analysis.inactive = true;
        return analysis;
    }
    analysis.html = LooksLikeHtml(message);
    if (message.find('\0') != std::string::npos) {
        analysis.skipped = &kSkippedNulByte;
    } else if (message.size() > kLargestMessage) {
        analysis.skipped = &kSkippedTooLarge;
    }
    if (!analysis.html || analysis.skipped != nullptr) {
        return analysis;
    }
    CString messageText(message.data(), static_cast<int>(message.size()));
    AnalysisRecord record{&messageText, 0, 0, 0, CString()};
    analysis.rewritten = module.Analyze(instance, &record) == 1;
    analysis.score = record.score;
    analysis.findings.assign(record.findings, record.findings.GetLength());
    if (analysis.rewritten) {
        std::string rewritten(messageText, messageText.GetLength());
        analysis.rewrittenText = UsesCrlf(message) ? rewritten : CrlfToLf(rewritten);
    }
    return analysis;
}
