#include "fuzz/reference/find_no_case.h"

#include <cstring>

#include "platform/kernel/windows.h"

namespace reference {

const char* FindNoCase(const char* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr || *text == '\0' || *pattern == '\0') {
        return nullptr;
    }
    const std::size_t textLength = std::strlen(text);
    const std::size_t patternLength = std::strlen(pattern);
    if (patternLength >= textLength) {
        return nullptr;
    }
    for (std::size_t position = 0; position <= textLength - patternLength; ++position) {
        if (_strnicmp(text + position, pattern, patternLength) == 0) {
            return text + position;
        }
    }
    return nullptr;
}

}  // namespace reference
