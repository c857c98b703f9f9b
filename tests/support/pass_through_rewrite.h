#ifndef TAGSTRIP_TESTS_SUPPORT_PASS_THROUGH_REWRITE_H
#define TAGSTRIP_TESTS_SUPPORT_PASS_THROUGH_REWRITE_H

#include <string>

// What the analyzer writes for a message when it keeps every token: each line end CRLF,
// and each HTML body without the white space at its end (which the tag scanner still
// holds when the body ends), followed by an empty line.
std::string PassThroughRewrite(const std::string& message);

#endif
