#include "remote/character_references.h"

#include <cstdlib>
#include <cctype>

namespace {

struct NamedReference {
    const char* name;
    char character;
};

const NamedReference kNamedReferences[] = {
    {"amp", '&'},   {"lt", '<'},     {"gt", '>'},     {"quot", '"'},  {"apos", '\''},    {"colon", ':'},
    {"sol", '/'},   {"bsol", '\\'},  {"lpar", '('},   {"rpar", ')'},  {"period", '.'},   {"quest", '?'},
    {"equals", '='}, {"num", '#'},   {"percnt", '%'}, {"commat", '@'}, {"Tab", '\t'},    {"NewLine", '\n'},
};

bool IsAsciiAlphanumeric(char character)
{
    return (character >= '0' && character <= '9') || (character >= 'a' && character <= 'z') ||
           (character >= 'A' && character <= 'Z');
}

// A numeric reference at value[at] ("&#..."); the decoded byte and where it ends.
bool DecodeNumeric(std::string_view value, std::size_t at, char& character, std::size_t& end)
{
    std::size_t digits = at + 2;
    int base = 10;
    if (digits < value.size() && (value[digits] == 'x' || value[digits] == 'X')) {
        base = 16;
        ++digits;
    }
    std::size_t stop = digits;
    long code = 0;
    while (stop < value.size() && stop - digits < 8 &&
           (base == 16 ? std::isxdigit(static_cast<unsigned char>(value[stop])) != 0
                       : std::isdigit(static_cast<unsigned char>(value[stop])) != 0)) {
        code = code * base + (std::isdigit(static_cast<unsigned char>(value[stop])) != 0
                                  ? value[stop] - '0'
                                  : (value[stop] | 0x20) - 'a' + 10);
        ++stop;
    }
    if (stop == digits || code <= 0 || code > 0xFF) {
        return false;
    }
    character = static_cast<char>(code);
    end = stop < value.size() && value[stop] == ';' ? stop + 1 : stop;
    return true;
}

bool DecodeNamed(std::string_view value, std::size_t at, char& character, std::size_t& end)
{
    std::size_t stop = at + 1;
    while (stop < value.size() && IsAsciiAlphanumeric(value[stop])) {
        ++stop;
    }
    const std::string_view name = value.substr(at + 1, stop - at - 1);
    for (const NamedReference& reference : kNamedReferences) {
        if (name == reference.name) {
            character = reference.character;
            end = stop < value.size() && value[stop] == ';' ? stop + 1 : stop;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view value)
{
    std::string decoded;
    decoded.reserve(value.size());
    std::size_t at = 0;
    while (at < value.size()) {
        char character = value[at];
        std::size_t end = at + 1;
        if (character == '&' && at + 1 < value.size()) {
            const bool numeric = value[at + 1] == '#';
            if (!(numeric ? DecodeNumeric(value, at, character, end) : DecodeNamed(value, at, character, end))) {
                character = '&';
                end = at + 1;
            }
        }
        decoded += character;
        at = end;
    }
    return decoded;
}

std::string EncodeForAttribute(std::string_view value)
{
    std::string encoded;
    encoded.reserve(value.size());
    for (char character : value) {
        if (character == '&') {
            encoded += "&amp;";
        } else if (character == '"') {
            encoded += "&quot;";
        } else {
            encoded += character;
        }
    }
    return encoded;
}
