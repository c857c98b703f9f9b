#include "common/string_helpers.h"

#include <cstring>

bool EndsWith(const std::string& text, const char* suffix)
{
    const std::size_t suffixLength = std::strlen(suffix);
    return text.size() >= suffixLength
        && text.compare(text.size() - suffixLength, suffixLength, suffix) == 0;
}

void ToLower(std::string& text)
{
    for (char& character : text) {
        character = FoldAsciiLetter(character);
    }
}
