#ifndef TAGSTRIP_HOST_FILTERED_MESSAGE_H
#define TAGSTRIP_HOST_FILTERED_MESSAGE_H

#include <string>

#include "host/host_session.h"

// What a front end passes on for message once analysed: our fields on top in the
// message's own line ends, then the rewritten text or the message as it came; with every
// analyzer inactive, the message alone.
std::string PassedOnText(const MessageAnalysis& analysis, const std::string& message);
// The same in its two pieces, for a front end that writes them one after the other
// without joining them: our fields (empty with every analyzer inactive), then the text.
std::string PassedOnFields(const MessageAnalysis& analysis, const std::string& message);
std::string PassedOnFields(const MessageAnalysis& analysis, const char* lineEnd);
const std::string& PassedOnBody(const MessageAnalysis& analysis, const std::string& message);

// What `tagstrip filter` writes for message (without any mbox "From " line), for front
// ends that must pass on the same: incoming X-Tagstrip fields removed, ours on top in the
// message's own line ends, the text rewritten when an analyzer removed something; with
// every analyzer inactive, the message alone. analysis tells what was found.
std::string FilteredMessage(const HostSession& session, std::string message, MessageAnalysis& analysis);

// The same with the text as it came: only the X-Tagstrip fields change, for front ends
// that score without rewriting. note, when not empty, is one more findings line, saying
// why the text was kept.
std::string ScoredMessage(const HostSession& session, std::string message, MessageAnalysis& analysis,
                          const std::string& note);

#endif
