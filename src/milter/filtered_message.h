#ifndef TAGSTRIP_MILTER_FILTERED_MESSAGE_H
#define TAGSTRIP_MILTER_FILTERED_MESSAGE_H

#include <string>

#include "host/host_session.h"

// What `tagstrip filter` writes for message: the analysis, and the message with our
// header fields on top, rewritten when the analyzer removed something.
std::string FilteredMessage(const HostSession& session, const std::string& message, MessageAnalysis& analysis);

#endif
