#include "host/filtered_message.h"

#include "host/message_text.h"
#include "host/tagstrip_headers.h"

std::string FilteredMessage(const HostSession& session, std::string message, MessageAnalysis& analysis)
{
    RemoveTagstripHeaderFields(message);
    analysis = session.Analyze(message);
    if (analysis.inactive) {
        return message;
    }
    return FormatHeaderFields(TagstripHeaderFields(analysis), LineEndOf(message)) +
           (analysis.rewritten ? analysis.rewrittenText : message);
}
