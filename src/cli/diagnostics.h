#ifndef TAGSTRIP_CLI_DIAGNOSTICS_H
#define TAGSTRIP_CLI_DIAGNOSTICS_H

#include <string>

#include "host/host_session.h"

// "tagstrip: SOURCE: PROBLEM" on standard error.
void ReportError(const std::string& source, const std::string& problem);

// Warns when the message was passed on without analysis, and about each part the
// analysis could not take as it should (encodings at fault).
void ReportWarnings(const std::string& source, const MessageAnalysis& analysis);

#endif
