#ifndef TAGSTRIP_REFERENCE_STRING_HELPERS_H
#define TAGSTRIP_REFERENCE_STRING_HELPERS_H

#include <string>

namespace reference {

// HTML whitespace is exactly space, TAB, LF and CR.
inline bool IsHtmlSpace(char character)
{
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// False when text is shorter than suffix, else whether text ends with it.
bool EndsWith(const std::string& text, const char* suffix);

// Lower-cases A-Z in place; every other byte stays as it is, whatever the locale.
void ToLower(std::string& text);

}  // namespace reference

#endif
