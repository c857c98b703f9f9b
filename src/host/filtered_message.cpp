#include "host/filtered_message.h"

#include "host/message_text.h"
#include "host/tagstrip_headers.h"

namespace {

std::string WithOurFields(const MessageAnalysis& analysis, const std::string& text, const std::string& message)
{
    return analysis.inactive ? message : PassedOnFields(analysis, message) + text;
}

}  // namespace

std::string PassedOnText(const MessageAnalysis& analysis, const std::string& message)
{
    return WithOurFields(analysis, PassedOnBody(analysis, message), message);
}

std::string PassedOnFields(const MessageAnalysis& analysis, const std::string& message)
{
    return PassedOnFields(analysis, LineEndOf(message));
}

std::string PassedOnFields(const MessageAnalysis& analysis, const char* lineEnd)
{
    return analysis.inactive ? std::string() : FormatHeaderFields(TagstripHeaderFields(analysis), lineEnd);
}

const std::string& PassedOnBody(const MessageAnalysis& analysis, const std::string& message)
{
    return analysis.rewritten ? analysis.rewrittenText : message;
}

std::string FilteredMessage(const HostSession& session, std::string message, MessageAnalysis& analysis)
{
    RemoveTagstripHeaderFields(message);
    analysis = session.Analyze(message);
    return PassedOnText(analysis, message);
}

std::string ScoredMessage(const HostSession& session, std::string message, MessageAnalysis& analysis,
                          const std::string& note)
{
    RemoveTagstripHeaderFields(message);
    analysis = session.Analyze(message);
    if (!note.empty() && analysis.skipped == nullptr) {
        analysis.findings += note + "\n";
    }
    return WithOurFields(analysis, message, message);
}
