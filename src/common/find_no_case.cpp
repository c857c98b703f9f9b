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
class CaseBlindCharacterSearch {
public:
    CaseBlindCharacterSearch(char character, const char* to) : lower(FoldLetter(character)), upper(OtherCase(lower)), to(to) {}

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

// Where the searches for candidates look: the pattern's first character that is not a
// letter, as it has one case only and is rarer in mail than letters; else its first.
std::size_t AnchorOf(const char* pattern, std::size_t patternLength)
{
    for (std::size_t index = 0; index < patternLength; ++index) {
        if (OtherCase(pattern[index]) == pattern[index]) {
            return index;
        }
    }
    return 0;
}

}  // namespace

// Candidates are the places of one character of the pattern (the anchor) in either case,
// found with memchr; only there is the whole pattern compared, as _strnicmp would. The
// anchors are met in order, and so are the candidates: the first that matches is the
// first match.
const char* FindNoCase(const char* text, const char* pattern)
{
    return text == nullptr ? nullptr : FindNoCase(std::string_view(text, std::strlen(text)), pattern);
}

// A match in the whole text is the first one of the C string unless a NUL comes before
// it; one at the very start must also leave the C string longer than the pattern.
const char* FindNoCaseUpToNul(std::string_view text, const char* pattern)
{
    const char* match = FindNoCase(text, pattern);
    if (match == nullptr) {
        return nullptr;
    }
    const std::size_t position = static_cast<std::size_t>(match - text.data());
    if (std::memchr(text.data(), '\0', position) != nullptr) {
        return nullptr;
    }
    const std::size_t patternEnd = std::strlen(pattern);
    if (position == 0 && (patternEnd == text.size() || text[patternEnd] == '\0')) {
        return nullptr;
    }
    return match;
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
    const std::size_t anchor = AnchorOf(pattern, patternLength);
    const char* lastAnchor = text + (textLength - patternLength) + anchor;
    CaseBlindCharacterSearch search(pattern[anchor], lastAnchor + 1);
    for (const char* hit = search.Next(text + anchor); hit <= lastAnchor; hit = search.Next(hit + 1)) {
        if (EqualNoCase(hit - anchor, pattern, patternLength)) {
            return hit - anchor;
        }
    }
    return nullptr;
}
