#include "host/host_session.h"

#include <algorithm>
#include <climits>
#include <strings.h>

#include "host/message_text.h"
#include "host/transfer_decoding.h"

namespace {

// The analyzers' strings count their length in an int.
constexpr std::size_t kLargestMessage = INT_MAX / 2;

}  // namespace

std::unique_ptr<HostSession> HostSession::Open(const std::vector<std::string>& modulePaths,
                                               const std::string& configDirectory, std::string& error)
{
    std::unique_ptr<HostSession> session(new HostSession());
    for (const std::string& path : modulePaths) {
        std::unique_ptr<HostedAnalyzer> analyzer = HostedAnalyzer::Open(path, configDirectory, error);
        if (analyzer == nullptr) {
            return nullptr;
        }
        session->analyzers.push_back(std::move(analyzer));
    }
    if (session->analyzers.empty()) {
        error = "no analyzer module to load";
        return nullptr;
    }
    std::stable_sort(session->analyzers.begin(), session->analyzers.end(),
                     [](const std::unique_ptr<HostedAnalyzer>& left, const std::unique_ptr<HostedAnalyzer>& right) {
                         return left->Order() < right->Order();
                     });
    return session;
}

std::unique_ptr<HostSession> HostSession::Open(const std::string& modulePath, const std::string& configDirectory,
                                               std::string& error)
{
    return Open(std::vector<std::string>{modulePath}, configDirectory, error);
}

// The analyzers go in the reverse of their loading, the last loaded first.
HostSession::~HostSession()
{
    while (!analyzers.empty()) {
        analyzers.pop_back();
    }
}

const HostedAnalyzer* HostSession::FindAnalyzer(const std::string& name) const
{
    for (const std::unique_ptr<HostedAnalyzer>& analyzer : analyzers) {
        if (strcasecmp(analyzer->Name().c_str(), name.c_str()) == 0) {
            return analyzer.get();
        }
    }
    return nullptr;
}

bool HostSession::Active() const
{
    return std::any_of(analyzers.begin(), analyzers.end(),
                       [](const std::unique_ptr<HostedAnalyzer>& analyzer) { return analyzer->Active(); });
}

// One record goes through every analyzer, as the analyzers expect of their host.
MessageAnalysis HostSession::Analyze(const std::string& message) const
{
    if (!decodeTransferEncodings || !Active()) {
        return AnalyzeAsItStands(message);
    }
    TransferDecoding decoding(message);
    MessageAnalysis analysis = AnalyzeAsItStands(decoding.Text());
    RestoreTransferEncodings(decoding, analysis);
    return analysis;
}

MessageAnalysis HostSession::AnalyzeAsItStands(const std::string& message) const
{
    MessageAnalysis analysis;
    if (!Active()) {
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
    CString messageText = AnalyzersText(message);
    AnalysisRecord record{&messageText, 0, 0, 0, CString()};
    for (const std::unique_ptr<HostedAnalyzer>& analyzer : analyzers) {
        if (analyzer->Active()) {
            analysis.rewritten |= analyzer->Analyze(record);
        }
    }
    analysis.score = record.score;
    analysis.findings.assign(record.findings, record.findings.GetLength());
    if (analysis.rewritten) {
        analysis.rewrittenText = InLineEndsOf(message, messageText);
    }
    return analysis;
}
