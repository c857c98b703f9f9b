#include "common/find_no_case.h"

#include <cstring>

namespace {

char FoldLetter(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
}

char OtherCase(char character)
{
    if (character >= 'a' && character <= 'z') {
        return static_cast<char>(character - 'a' + 'A');
    }
    if (character >= 'A' && character <= 'Z') {
        return static_cast<char>(character - 'A' + 'a');
    }
    return character;
}

bool EqualNoCase(const char* left, const char* right, std::size_t count)
{
    for (std::size_t index = 0; index < count; ++index) {
        if (FoldLetter(left[index]) != FoldLetter(right[index])) {
            return false;
        }
    }
    return true;
}

// Where character, or its other letter case, first stands in [from, to); to if nowhere.
// The two searches go forward independently, each remembering its own next hit.
class FirstLetterSearch {
public:
    FirstLetterSearch(char character, const char* to) : lower(FoldLetter(character)), upper(OtherCase(lower)), to(to) {}

    const char* Next(const char* from)
    {
        nextLower = Advance(nextLower, from, lower);
        nextUpper = lower == upper ? to : Advance(nextUpper, from, upper);
        return nextLower < nextUpper ? nextLower : nextUpper;
    }

private:
    const char* Advance(const char* known, const char* from, char character) const
    {
        if (known != nullptr && known >= from) {
            return known;
        }
        const void* hit = std::memchr(from, character, static_cast<std::size_t>(to - from));
        return hit != nullptr ? static_cast<const char*>(hit) : to;
    }

    char lower;
    char upper;
    const char* to;
    const char* nextLower = nullptr;
    const char* nextUpper = nullptr;
};

}  // namespace

// Candidates are the places of the pattern's first character in either case, found with
// memchr; only there is the rest compared, as _strnicmp would.
const char* FindNoCase(const char* text, const char* pattern)
{
    return text == nullptr ? nullptr : FindNoCase(std::string_view(text, std::strlen(text)), pattern);
}

const char* FindNoCase(std::string_view textView, const char* pattern)
{
    const char* text = textView.data();
    const std::size_t textLength = textView.size();
    if (textLength == 0 || pattern == nullptr || *pattern == '\0') {
        return nullptr;
    }
    const std::size_t patternLength = std::strlen(pattern);
    if (patternLength >= textLength) {
        return nullptr;
    }
    const char* lastStart = text + (textLength - patternLength);
    FirstLetterSearch search(pattern[0], lastStart + 1);
    for (const char* candidate = search.Next(text); candidate <= lastStart; candidate = search.Next(candidate + 1)) {
        if (EqualNoCase(candidate + 1, pattern + 1, patternLength - 1)) {
            return candidate;
        }
    }
    return nullptr;
}
