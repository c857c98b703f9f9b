#include "host/message_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
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

const char* FindLineFeed(const char* from, const char* end)
{
    return static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
}

std::size_t BareLineFeeds(std::string_view text)
{
    const char* const end = text.data() + text.size();
    std::size_t count = 0;
    for (const char* lineFeed = FindLineFeed(text.data(), end); lineFeed != nullptr;
         lineFeed = FindLineFeed(lineFeed + 1, end)) {
        count += lineFeed == text.data() || lineFeed[-1] != '\r';
    }
    return count;
}

// Copies text to out with a CR put before every LF that lacks one, a stretch between
// such line feeds at a time, noting whether any LF had its CR already. Returns the end
// of what it wrote, or nullptr when that would not fit in room bytes.
char* CopyWithCrlf(std::string_view text, char* out, std::size_t room, bool& sawCrlf)
{
    const char* const end = text.data() + text.size();
    const char* const outEnd = out + room;
    const char* copied = text.data();
    for (const char* lineFeed = FindLineFeed(copied, end); lineFeed != nullptr;
         lineFeed = FindLineFeed(lineFeed + 1, end)) {
        if (lineFeed != text.data() && lineFeed[-1] == '\r') {
            sawCrlf = true;
            continue;
        }
        const std::size_t stretch = static_cast<std::size_t>(lineFeed - copied);
        if (stretch >= static_cast<std::size_t>(outEnd - out)) {
            return nullptr;
        }
        std::memcpy(out, copied, stretch);
        out += stretch;
        *out++ = '\r';
        copied = lineFeed;
    }
    const std::size_t rest = static_cast<std::size_t>(end - copied);
    if (rest > static_cast<std::size_t>(outEnd - out)) {
        return nullptr;
    }
    std::memcpy(out, copied, rest);
    return out + rest;
}

// Room for the text and an eighth more, as far as a CString holds.
std::size_t RoomFor(std::size_t length)
{
    return std::min<std::size_t>(length + length / 8, INT_MAX);
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
// beside it. Room never written costs no memory. Lines are seldom shorter than eight
// bytes, so the text is written in one pass into room for a line end in every eighth
// byte; only when that does not do are the bare line feeds counted first.
CString AnalyzersText(const std::string& message, bool* givesBack)
{
    CString text;
    bool sawCrlf = false;
    std::size_t room = RoomFor(RoomFor(message.size()));
    char* out = text.GetBuffer(static_cast<int>(room));
    char* end = CopyWithCrlf(message, out, room, sawCrlf);
    if (end == nullptr) {
        room = RoomFor(message.size() + BareLineFeeds(message));
        out = text.GetBuffer(static_cast<int>(room));
        end = CopyWithCrlf(message, out, room, sawCrlf);
    }
    const std::size_t length = static_cast<std::size_t>(end - out);
    text.ReleaseBuffer(static_cast<int>(length));
    if (givesBack != nullptr) {
        *givesBack = UsesCrlf(message) ? length == message.size() : !sawCrlf;
    }
    return text;
}

std::string InLineEndsOf(bool crlf, const CString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.GetLength()));
    AppendInLineEndsOf(crlf, text, result);
    return result;
}

void AppendInLineEndsOf(bool crlf, const CString& text, std::string& out)
{
    const std::string_view analyzed(text, static_cast<std::size_t>(text.GetLength()));
    if (crlf) {
        out.append(analyzed);
    } else {
        AppendWithoutCr(analyzed, out);
    }
}

bool LooksLikeHtml(const std::string& message)
{
    return FindNoCaseUpToNul(message, "text/html") != nullptr;
}
