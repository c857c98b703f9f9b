#ifndef TAGSTRIP_HOST_HOST_SESSION_H
#define TAGSTRIP_HOST_HOST_SESSION_H

#include <memory>
#include <string>
#include <vector>

#include "host/hosted_analyzer.h"
#include "host/message_loan.h"
#include "host/skip_reason.h"

class TransferDecoding;

// What became of one message.
struct MessageAnalysis {
    bool inactive = false;   // Active=0 for every analyzer: passed on without calling Analyze
    bool html = false;       // holds "text/html", so the analyzers looked at it
    const SkipReason* skipped = nullptr;  // why the message was passed on unanalysed, if it was
    bool rewritten = false;  // some analyzer replaced the text
    int score = 0;
    std::string findings;
    std::string rewrittenText;  // set only when rewritten and wanted, in the message's own line ends
    int decodedParts = 0;       // quoted-printable and base64 HTML parts analysed decoded
    std::vector<std::string> warnings;
};

// The analyzers the host is configured with, each loaded with its one instance, run in
// their order on every message: each sees the text that the one before it left, their
// points add up and their findings lines follow one another. An analyzer whose settings
// say Active=0 is left out.
class HostSession {
public:
    // Loads every module in modulePaths (their order breaks ties of the analyzers'
    // order numbers). Null with error set when any of them fails.
    static std::unique_ptr<HostSession> Open(const std::vector<std::string>& modulePaths,
                                             const std::string& configDirectory, std::string& error);
    static std::unique_ptr<HostSession> Open(const std::string& modulePath, const std::string& configDirectory,
                                             std::string& error);
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;
    ~HostSession();

    // Analyses the message with its encoded HTML parts decoded, unless decoding is off.
    MessageAnalysis Analyze(const std::string& message) const;
    // The same for a holder that needs the message afterwards only as afterwards says:
    // a big message is then freed while the analyzers hold their own copy of it, and
    // afterwards it is as it came, or empty where it is not needed.
    MessageAnalysis Analyze(std::string& message, MessageAfterwards afterwards) const;
    // Analyze, telling besides whether decoding found a category that the message as it
    // stands does not show. For a message with decoded parts that takes an analysis of
    // the message as it stands too; only its findings are kept.
    MessageAnalysis AnalyzeNotingDecodedOnly(std::string& message, MessageAfterwards afterwards,
                                             bool& foundOnlyDecoded) const;
    void SetTransferDecoding(bool on) { decodeTransferEncodings = on; }
    bool TransferDecodingOn() const { return decodeTransferEncodings; }
    // Whether callers read rewrittenText (on unless a front end only reports). Decoded
    // messages are always written out in full, since encoding them again can fail.
    void SetRewrittenTextWanted(bool wanted) { rewrittenTextWanted = wanted; }

    // In the order they run.
    const std::vector<std::unique_ptr<HostedAnalyzer>>& Analyzers() const { return analyzers; }
    // The analyzer of that name in any letter case, or null.
    const HostedAnalyzer* FindAnalyzer(const std::string& name) const;
    // Whether any analyzer is active.
    bool Active() const;

private:
    HostSession() = default;
    // The message as it stands, as the analyzers alone see it.
    MessageAnalysis AnalyzeAsItStands(const std::string& message) const;
    // Here and below, textWanted says whether rewrittenText is set when the text is rewritten.
    MessageAnalysis AnalyzeAsItStands(std::string& message, MessageAfterwards afterwards, bool textWanted) const;
    MessageAnalysis AnalyzeDecoded(TransferDecoding& decoding) const;
    MessageAnalysis AnalyzeUndecoded(std::string& message, MessageAfterwards afterwards,
                                     TransferDecoding& decoding) const;
    bool Admits(const std::string& message, MessageAnalysis& analysis) const;
    void RunAnalyzers(CString& messageText, bool crlf, bool textWanted, MessageAnalysis& analysis) const;
    bool CallAnalyzers(AnalysisRecord& record) const;
    static void TakeResults(const AnalysisRecord& record, bool crlf, bool textWanted, MessageAnalysis& analysis);

    std::vector<std::unique_ptr<HostedAnalyzer>> analyzers;
    bool decodeTransferEncodings = true;
    bool rewrittenTextWanted = true;
};

#endif
