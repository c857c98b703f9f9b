#include "milter/filtered_message.h"

#include "host/findings.h"
#include "host/message_text.h"

namespace {

std::string TagstripHeaders(const MessageAnalysis& analysis, const char* lineEnd)
{
    std::string headers = "X-Tagstrip-Score: " + std::to_string(analysis.score) + lineEnd;
    headers += std::string("X-Tagstrip-Findings:") + lineEnd;
    for (const std::string& line : FindingsLines(analysis.findings)) {
        headers += "\t" + line + lineEnd;
    }
    return headers;
}

}  // namespace

std::string FilteredMessage(const HostSession& session, const std::string& message, MessageAnalysis& analysis)
{
    analysis = session.Analyze(message);
    return TagstripHeaders(analysis, LineEndOf(message)) + (analysis.rewritten ? analysis.rewrittenText : message);
}
