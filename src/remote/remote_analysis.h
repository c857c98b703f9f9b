#ifndef TAGSTRIP_REMOTE_REMOTE_ANALYSIS_H
#define TAGSTRIP_REMOTE_REMOTE_ANALYSIS_H

#include "remote/remote_instance.h"
#include "tagstrip/host_api.h"

// Analyses one message for the host: a message without "text/html" is left alone;
// otherwise every HTML part goes through the remote filter, each found category adds its
// points and findings lines, and the filtered text replaces the message when a found
// category is to be removed. Returns whether it replaced the text.
bool AnalyzeRemote(const RemoteInstance& instance, AnalysisRecord& record);

#endif
