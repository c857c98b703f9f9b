#ifndef TAGSTRIP_HOST_MESSAGE_TEXT_H
#define TAGSTRIP_HOST_MESSAGE_TEXT_H

#include <string>

// A message keeps the line ends it came with: CRLF when its first line ends in CRLF,
// LF otherwise.
bool UsesCrlf(const std::string& message);
const char* LineEndOf(const std::string& message);

// Turns every CRLF into LF (the analyzer writes CRLF throughout).
std::string CrlfToLf(const std::string& text);

// Whether the message holds "text/html" anywhere, in any letter case: the analyzer's own
// test for an HTML message.
bool LooksLikeHtml(const std::string& message);

#endif
