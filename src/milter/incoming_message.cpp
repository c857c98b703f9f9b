#include "milter/incoming_message.h"

#include <cstring>
#include <strings.h>

namespace {

// Every line end inside a folded value becomes CRLF.
std::string WithCrlfFolds(const char* value)
{
    std::string result;
    for (const char* at = value; *at != '\0'; ++at) {
        if (*at == '\n' && (at == value || at[-1] != '\r')) {
            result += '\r';
        }
        result += *at;
    }
    return result;
}

}  // namespace

void IncomingMessage::AddHeader(const char* name, const char* value, bool leadingSpaces)
{
    names.emplace_back(name);
    std::string field = std::string(name) + (leadingSpaces ? ":" : ": ") + WithCrlfFolds(value) + "\r\n";
    Append(field.data(), field.size());
}

bool IncomingMessage::HasField(const char* name) const
{
    for (const std::string& received : names) {
        if (strcasecmp(received.c_str(), name) == 0) {
            return true;
        }
    }
    return false;
}

void IncomingMessage::EndHeader()
{
    if (!headerEnded) {
        headerEnded = true;
        Append("\r\n", 2);
    }
}

void IncomingMessage::AddBody(const char* chunk, std::size_t length)
{
    EndHeader();
    Append(chunk, length);
}

void IncomingMessage::Append(const char* bytes, std::size_t length)
{
    size += length;
    if (size > sizeLimit) {
        overLimit = true;
        std::string().swap(text);
        return;
    }
    text.append(bytes, length);
}
