#ifndef TAGSTRIP_COMMON_FIND_NO_CASE_H
#define TAGSTRIP_COMMON_FIND_NO_CASE_H

#include <string_view>

// Case-insensitive search of pattern in a NUL-terminated 8-bit text, folding only A-Z.
// Returns the first match, or null when text or pattern is null or empty, or when the
// pattern is not strictly shorter than the text.
const char* FindNoCase(const char* text, const char* pattern);

// The same over a text that holds no NUL (see UpToNul), its length known.
const char* FindNoCase(std::string_view text, const char* pattern);

// The same as FindNoCase over the C string at text.data(), for a text whose length is
// known and which may hold a NUL: a NUL is looked for only before a match, so a match
// near the start costs no pass over the whole text.
const char* FindNoCaseUpToNul(std::string_view text, const char* pattern);

#endif
