#ifndef TAGSTRIP_REFERENCE_FIND_NO_CASE_H
#define TAGSTRIP_REFERENCE_FIND_NO_CASE_H

namespace reference {

// Case-insensitive search of pattern in a NUL-terminated 8-bit text, folding only A-Z.
// Returns the first match, or null when text or pattern is null or empty, or when the
// pattern is not strictly shorter than the text.
const char* FindNoCase(const char* text, const char* pattern);

}  // namespace reference

#endif
