#ifndef TAGSTRIP_HOST_MESSAGE_TEXT_H
#define TAGSTRIP_HOST_MESSAGE_TEXT_H

#include <string>

#include "tagstrip/host_api.h"

// A message keeps the line ends it came with: CRLF when its first line ends in CRLF,
// LF otherwise.
bool UsesCrlf(const std::string& message);
const char* LineEndOf(const std::string& message);

// Turns every CRLF into LF (the analyzer writes CRLF throughout).
std::string CrlfToLf(const std::string& text);

// The message as the analyzers get it: every line end CRLF. Their MIME walker ends
// every line it hands on in CRLF whatever it came with, so they find the same parts,
// bodies and tags in it; bodies already in CRLF are scanned where they lie, uncopied.
// givesBack, when given, tells whether InLineEndsOf gives the message back from this
// text byte for byte: a CRLF message with no bare LF, or an LF message with no CRLF.
CString AnalyzersText(const std::string& message, bool* givesBack = nullptr);
// The analyzers' text in the line ends of a message that uses CRLF (UsesCrlf) or LF,
// in one copy.
std::string InLineEndsOf(bool crlf, const CString& text);
// The same appended to out.
void AppendInLineEndsOf(bool crlf, const CString& text, std::string& out);

// Whether the message holds "text/html" anywhere, in any letter case: the analyzer's own
// test for an HTML message.
bool LooksLikeHtml(const std::string& message);

#endif
