#include "host/message_text.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "common/find_no_case.h"

namespace {

// Appends text to out without the CR of each CRLF, a stretch between line ends at a time.
void AppendWithoutCr(std::string_view text, std::string& out)
{
    std::size_t copied = 0;
    for (std::size_t lineFeed = text.find('\n'); lineFeed != std::string_view::npos;
         lineFeed = text.find('\n', lineFeed + 1)) {
        if (lineFeed > copied && text[lineFeed - 1] == '\r') {
            out.append(text, copied, lineFeed - 1 - copied);
            copied = lineFeed;
        }
    }
    out.append(text, copied, std::string_view::npos);
}

std::size_t BareLineFeeds(const std::string& text)
{
    std::size_t count = 0;
    for (std::size_t lineFeed = text.find('\n'); lineFeed != std::string::npos;
         lineFeed = text.find('\n', lineFeed + 1)) {
        count += lineFeed == 0 || text[lineFeed - 1] != '\r';
    }
    return count;
}

}  // namespace

bool UsesCrlf(const std::string& message)
{
    std::size_t end = message.find('\n');
    return end != std::string::npos && end > 0 && message[end - 1] == '\r';
}

const char* LineEndOf(const std::string& message)
{
    return UsesCrlf(message) ? "\r\n" : "\n";
}

std::string CrlfToLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    AppendWithoutCr(text, result);
    return result;
}

// An analyzer that rewrites the text puts its result into the same string; room for an
// eighth more lets a result a little longer than the message (tags written back with
// quoted values, a line end added) take the string's own buffer instead of a new one
// beside it. Room never written costs no memory.
CString AnalyzersText(const std::string& message)
{
    const std::size_t length = message.size() + BareLineFeeds(message);
    CString text;
    char* out = text.GetBuffer(static_cast<int>(std::min<std::size_t>(length + length / 8, INT_MAX)));
    std::size_t copied = 0;
    for (std::size_t lineFeed = message.find('\n'); lineFeed != std::string::npos;
         lineFeed = message.find('\n', lineFeed + 1)) {
        if (lineFeed == 0 || message[lineFeed - 1] != '\r') {
            out = std::copy(message.data() + copied, message.data() + lineFeed, out);
            *out++ = '\r';
            copied = lineFeed;
        }
    }
    std::copy(message.data() + copied, message.data() + message.size(), out);
    text.ReleaseBuffer(static_cast<int>(length));
    return text;
}

std::string InLineEndsOf(const std::string& message, const CString& text)
{
    const std::string_view analyzed(text, static_cast<std::size_t>(text.GetLength()));
    if (UsesCrlf(message)) {
        return std::string(analyzed);
    }
    std::string result;
    result.reserve(analyzed.size());
    AppendWithoutCr(analyzed, result);
    return result;
}

bool LooksLikeHtml(const std::string& message)
{
    return FindNoCaseUpToNul(message, "text/html") != nullptr;
}
