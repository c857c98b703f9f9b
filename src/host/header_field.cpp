#include "host/header_field.h"

#include "common/string_helpers.h"

namespace {

bool IsBlank(char character)
{
    return character == ' ' || character == '\t';
}

bool IsLineEnd(char character)
{
    return character == '\r' || character == '\n';
}

bool NamedAt(const std::string& text, std::size_t lineStart, std::size_t to, const std::string& name)
{
    return lineStart + name.size() < to && text[lineStart + name.size()] == ':' &&
           SameWord(text.substr(lineStart, name.size()), name);
}

// Just past the line end of the field's last line, continuation lines included.
std::size_t FieldEnd(const std::string& text, std::size_t from, std::size_t to)
{
    std::size_t end = from;
    do {
        const std::size_t lineFeed = text.find('\n', end);
        end = lineFeed == std::string::npos || lineFeed >= to ? to : lineFeed + 1;
    } while (end < to && IsBlank(text[end]));
    return end;
}

std::string Unfolded(const std::string& text, std::size_t from, std::size_t to)
{
    std::string value;
    for (std::size_t i = from; i < to; ++i) {
        if (!IsLineEnd(text[i])) {
            value += text[i];
        }
    }
    const std::size_t first = value.find_first_not_of(" \t");
    const std::size_t last = value.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
}

}  // namespace

bool FindHeaderField(const std::string& text, std::size_t from, std::size_t to, const std::string& name,
                     HeaderFieldSpan& field)
{
    for (std::size_t lineStart = from; lineStart < to;) {
        if (NamedAt(text, lineStart, to, name)) {
            field.start = lineStart;
            field.end = FieldEnd(text, lineStart, to);
            field.value = Unfolded(text, lineStart + name.size() + 1, field.end);
            return true;
        }
        const std::size_t lineFeed = text.find('\n', lineStart);
        lineStart = lineFeed == std::string::npos ? to : lineFeed + 1;
    }
    return false;
}

bool SameWord(std::string left, std::string right)
{
    ToLower(left);
    ToLower(right);
    return left == right;
}
