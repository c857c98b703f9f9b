#include "host/transfer_faults.h"

#include <cctype>

namespace {

bool IsBase64Letter(unsigned char c)
{
    return std::isalnum(c) != 0 || c == '+' || c == '/';
}

bool IsBlankOrLineEnd(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

std::string Counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A soft line break: "=" then LF or CRLF.
bool StartsLineEnd(std::string_view text, std::size_t position)
{
    return position < text.size() &&
           (text[position] == '\n' || text.substr(position, 2) == "\r\n");
}

bool OnlyCarriageReturnsFrom(std::string_view text, std::size_t position)
{
    return text.find_first_not_of('\r', position) == std::string_view::npos;
}

}  // namespace

std::vector<std::string> Base64Faults(std::string_view encoded, std::string& missingPadding)
{
    std::size_t letters = 0;
    std::size_t foreign = 0;
    bool padded = false;
    bool textAfterPadding = false;
    for (char character : encoded) {
        const unsigned char c = static_cast<unsigned char>(character);
        if (c == '=') {
            padded = true;
        } else if (IsBase64Letter(c)) {
            textAfterPadding |= padded;
            letters += padded ? 0 : 1;
        } else if (!IsBlankOrLineEnd(c)) {
            ++foreign;
        }
    }
    std::vector<std::string> faults;
    if (foreign != 0) {
        faults.push_back(Counted(foreign, "character", "characters") + " outside the base64 alphabet, skipped");
    }
    if (textAfterPadding) {
        faults.push_back("base64 text after the padding, ignored");
    }
    const std::size_t lastGroup = letters % 4;
    missingPadding.clear();
    if (lastGroup == 1) {
        faults.push_back("base64 text truncated: its last character holds no whole byte");
    } else if (lastGroup != 0 && !padded) {
        missingPadding.assign(4 - lastGroup, '=');
        faults.push_back("base64 padding missing");
    }
    return faults;
}

std::vector<std::string> QuotedPrintableFaults(std::string_view encoded)
{
    std::size_t badEscapes = 0;
    bool softBreakAtEnd = false;
    for (std::size_t at = encoded.find('='); at != std::string_view::npos; at = encoded.find('=', at + 1)) {
        if (OnlyCarriageReturnsFrom(encoded, at + 1)) {
            softBreakAtEnd = true;
        } else if (!StartsLineEnd(encoded, at + 1) &&
                   !(at + 2 < encoded.size() && IsHexDigit(encoded[at + 1]) && IsHexDigit(encoded[at + 2]))) {
            ++badEscapes;
        }
    }
    std::vector<std::string> faults;
    if (badEscapes != 0) {
        faults.push_back(Counted(badEscapes, "\"=\" not", "\"=\" signs not") +
                         " followed by two hex digits or a line end");
    }
    if (softBreakAtEnd) {
        faults.push_back("quoted-printable soft line break at the very end, dropped");
    }
    return faults;
}
