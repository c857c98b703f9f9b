#include "host/message_text.h"

#include "common/find_no_case.h"

bool UsesCrlf(const std::string& message)
{
    std::size_t end = message.find('\n');
    return end != std::string::npos && end > 0 && message[end - 1] == '\r';
}

const char* LineEndOf(const std::string& message)
{
    return UsesCrlf(message) ? "\r\n" : "\n";
}

// Copies whole stretches between line ends at a time.
std::string CrlfToLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t lineFeed = text.find('\n'); lineFeed != std::string::npos;
         lineFeed = text.find('\n', lineFeed + 1)) {
        if (lineFeed > copied && text[lineFeed - 1] == '\r') {
            result.append(text, copied, lineFeed - 1 - copied);
            copied = lineFeed;
        }
    }
    result.append(text, copied, std::string::npos);
    return result;
}

bool LooksLikeHtml(const std::string& message)
{
    return FindNoCase(message.c_str(), "text/html") != nullptr;
}
