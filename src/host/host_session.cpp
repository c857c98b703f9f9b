#include "host/host_session.h"

#include <algorithm>
#include <climits>
#include <strings.h>

#include "host/findings.h"
#include "host/message_text.h"
#include "host/transfer_decoding.h"

namespace {

// The analyzers' strings count their length in an int.
constexpr std::size_t kLargestMessage = INT_MAX / 2;

bool FoundOnlyDecoded(const CategoryMarks& shown, const std::string& decodedFindings)
{
    const CategoryMarks found = MarksFromFindings(decodedFindings);
    bool onlyDecoded = false;
    for (int category = 0; category < CategoryCount; ++category) {
        onlyDecoded |= found.found[category] && !shown.found[category];
    }
    return onlyDecoded;
}

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
    return AnalyzeDecoded(decoding);
}

MessageAnalysis HostSession::Analyze(std::string& message, MessageAfterwards afterwards) const
{
    if (!decodeTransferEncodings || !Active() || !TransferDecoding::MayDecode(message)) {
        return AnalyzeAsItStands(message, afterwards, rewrittenTextWanted);
    }
    TransferDecoding decoding(message, TransferDecoding::MayDecodeSaidYes());
    return decoding.DecodedPartCount() == 0 ? AnalyzeUndecoded(message, afterwards, decoding)
                                            : AnalyzeDecoded(decoding);
}

// The decoded message is analysed first, and the message as it stands last, for its
// findings alone: by then its holder may no longer need it, and it can be lent.
MessageAnalysis HostSession::AnalyzeNotingDecodedOnly(std::string& message, MessageAfterwards afterwards,
                                                      bool& foundOnlyDecoded) const
{
    foundOnlyDecoded = false;
    if (!decodeTransferEncodings || !Active() || !TransferDecoding::MayDecode(message)) {
        return AnalyzeAsItStands(message, afterwards, rewrittenTextWanted);
    }
    TransferDecoding decoding(message, TransferDecoding::MayDecodeSaidYes());
    if (decoding.DecodedPartCount() == 0) {
        return AnalyzeUndecoded(message, afterwards, decoding);
    }
    MessageAnalysis analysis = AnalyzeDecoded(decoding);
    if (!rewrittenTextWanted) {
        std::string().swap(analysis.rewrittenText);
    }
    const bool stillNeeded = afterwards == MessageAfterwards::Needed ||
                             (afterwards == MessageAfterwards::NeededUnlessRewritten && !analysis.rewritten);
    const MessageAnalysis asItStands =
        AnalyzeAsItStands(message, stillNeeded ? MessageAfterwards::Needed : MessageAfterwards::NotNeeded, false);
    foundOnlyDecoded = FoundOnlyDecoded(MarksFromFindings(asItStands.findings), analysis.findings);
    return analysis;
}

// A message that decoding found nothing to decode in, with decoding's warnings.
MessageAnalysis HostSession::AnalyzeUndecoded(std::string& message, MessageAfterwards afterwards,
                                              TransferDecoding& decoding) const
{
    MessageAnalysis analysis = AnalyzeAsItStands(message, afterwards, rewrittenTextWanted);
    RestoreTransferEncodings(decoding, analysis);
    return analysis;
}

MessageAnalysis HostSession::AnalyzeAsItStands(const std::string& message) const
{
    MessageAnalysis analysis;
    if (Admits(message, analysis)) {
        CString messageText = AnalyzersText(message);
        RunAnalyzers(messageText, UsesCrlf(message), rewrittenTextWanted, analysis);
    }
    return analysis;
}

MessageAnalysis HostSession::AnalyzeAsItStands(std::string& message, MessageAfterwards afterwards,
                                               bool textWanted) const
{
    MessageAnalysis analysis;
    if (Admits(message, analysis)) {
        bool givesBack = false;
        CString messageText = AnalyzersText(message, &givesBack);
        const bool crlf = UsesCrlf(message);
        MessageLoan loan(message, afterwards, crlf, givesBack);
        AnalysisRecord record{&messageText, 0, 0, 0, CString()};
        analysis.rewritten = CallAnalyzers(record);
        loan.Settle(messageText, analysis.rewritten);
        TakeResults(record, crlf, textWanted, analysis);
    }
    return analysis;
}

// The decoded message is freed as soon as the analyzers have their own copy of it.
MessageAnalysis HostSession::AnalyzeDecoded(TransferDecoding& decoding) const
{
    if (decoding.DecodedPartCount() == 0) {
        MessageAnalysis analysis = AnalyzeAsItStands(decoding.Text());
        RestoreTransferEncodings(decoding, analysis);
        return analysis;
    }
    std::string decoded = decoding.TakeDecodedText();
    MessageAnalysis analysis;
    if (Admits(decoded, analysis)) {
        CString messageText = AnalyzersText(decoded);
        const bool crlf = UsesCrlf(decoded);
        std::string().swap(decoded);
        RunAnalyzers(messageText, crlf, true, analysis);
    }
    RestoreTransferEncodings(decoding, analysis);
    return analysis;
}

// Whether the analyzers are to see the message; when not, analysis says why.
bool HostSession::Admits(const std::string& message, MessageAnalysis& analysis) const
{
    if (!Active()) {
        analysis.inactive = true;
        return false;
    }
    analysis.html = LooksLikeHtml(message);
    if (message.find('\0') != std::string::npos) {
        analysis.skipped = &kSkippedNulByte;
    } else if (message.size() > kLargestMessage) {
        analysis.skipped = &kSkippedTooLarge;
    }
    return analysis.html && analysis.skipped == nullptr;
}

void HostSession::RunAnalyzers(CString& messageText, bool crlf, bool textWanted, MessageAnalysis& analysis) const
{
    AnalysisRecord record{&messageText, 0, 0, 0, CString()};
    analysis.rewritten = CallAnalyzers(record);
    TakeResults(record, crlf, textWanted, analysis);
}

// True when some analyzer replaced the text.
bool HostSession::CallAnalyzers(AnalysisRecord& record) const
{
    bool rewritten = false;
    for (const std::unique_ptr<HostedAnalyzer>& analyzer : analyzers) {
        if (analyzer->Active()) {
            rewritten |= analyzer->Analyze(record);
        }
    }
    return rewritten;
}

void HostSession::TakeResults(const AnalysisRecord& record, bool crlf, bool textWanted, MessageAnalysis& analysis)
{
    analysis.score = record.score;
    analysis.findings.assign(record.findings, record.findings.GetLength());
    if (analysis.rewritten && textWanted) {
        analysis.rewrittenText = InLineEndsOf(crlf, *record.messageText);
    }
}
