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

std::string CrlfToLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            result += text[i];
        }
    }
    return result;
}

bool LooksLikeHtml(const std::string& message)
{
    return FindNoCase(message.c_str(), "text/html") != nullptr;
}
