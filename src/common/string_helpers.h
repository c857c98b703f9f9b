#ifndef TAGSTRIP_COMMON_STRING_HELPERS_H
#define TAGSTRIP_COMMON_STRING_HELPERS_H

#include <string>
#include <string_view>

// HTML whitespace is exactly space, TAB, LF and CR.
inline bool IsHtmlSpace(char character)
{
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// A to Z become a to z; every other byte stays as it is, whatever the locale.
inline char FoldAsciiLetter(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
}

// The text up to its first NUL, as a C string would read it.
inline std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// False when text is shorter than suffix, else whether text ends with it.
bool EndsWith(const std::string& text, const char* suffix);

// Lower-cases A-Z in place; every other byte stays as it is, whatever the locale.
void ToLower(std::string& text);

#endif
