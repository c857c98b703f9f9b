#include "host/tagstrip_headers.h"

#include <strings.h>

#include "host/findings_folding.h"

namespace {

const char kOurPrefix[] = "X-Tagstrip-";
constexpr std::size_t kOurPrefixLength = sizeof kOurPrefix - 1;

bool IsBlankLine(const std::string& text, std::size_t start, std::size_t end)
{
    return end - start == 0 || (end - start == 1 && text[start] == '\r');
}

bool IsContinuation(const std::string& text, std::size_t start)
{
    return start < text.size() && (text[start] == ' ' || text[start] == '\t');
}

std::size_t NextLine(const std::string& text, std::size_t start)
{
    std::size_t newline = text.find('\n', start);
    return newline == std::string::npos ? text.size() : newline + 1;
}

bool StartsOurField(const std::string& text, std::size_t start, std::size_t end)
{
    std::size_t colon = text.find(':', start);
    if (colon == std::string::npos || colon >= end) {
        return false;
    }
    std::size_t nameEnd = text.find_last_not_of(" \t", colon - 1);
    return nameEnd != std::string::npos && nameEnd >= start &&
           IsTagstripHeaderName(text.substr(start, nameEnd + 1 - start));
}

}  // namespace

std::vector<HeaderField> TagstripHeaderFields(const MessageAnalysis& analysis)
{
    if (analysis.skipped != nullptr) {
        return {{"X-Tagstrip-Skipped", std::string(" ") + analysis.skipped->token}};
    }
    return {
        {"X-Tagstrip-Score", " " + std::to_string(analysis.score)},
        {"X-Tagstrip-Findings", FoldedFindingsValue(analysis.findings)},
    };
}

std::string FormatHeaderFields(const std::vector<HeaderField>& fields, const char* lineEnd)
{
    std::string text;
    for (const HeaderField& field : fields) {
        text += field.name + ":";
        for (char character : field.value) {
            text += character == '\n' ? std::string(lineEnd) : std::string(1, character);
        }
        text += lineEnd;
    }
    return text;
}

bool IsTagstripHeaderName(const std::string& name)
{
    return name.size() > kOurPrefixLength && strncasecmp(name.c_str(), kOurPrefix, kOurPrefixLength) == 0;
}

int RemoveTagstripHeaderFields(std::string& message)
{
    int removed = 0;
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = NextLine(message, start);
        std::size_t content = message[end - 1] == '\n' ? end - 1 : end;
        if (IsBlankLine(message, start, content)) {
            break;
        }
        if (!StartsOurField(message, start, content)) {
            start = end;
            continue;
        }
        while (IsContinuation(message, end)) {
            end = NextLine(message, end);
        }
        message.erase(start, end - start);
        ++removed;
    }
    return removed;
}
