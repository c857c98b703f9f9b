#include "fuzz/reference/tag.h"

#include "fuzz/reference/string_helpers.h"

namespace reference {

namespace {

const std::size_t kNone = std::string::npos;

std::size_t FindSpace(const std::string& text, std::size_t from)
{
    for (std::size_t position = from; position < text.size(); ++position) {
        if (IsHtmlSpace(text[position])) {
            return position;
        }
    }
    return kNone;
}

std::size_t FindNonSpace(const std::string& text, std::size_t from)
{
    for (std::size_t position = from; position < text.size(); ++position) {
        if (!IsHtmlSpace(text[position])) {
            return position;
        }
    }
    return kNone;
}

bool EndsName(char character)
{
    return character == '=' || IsHtmlSpace(character);
}

}  // namespace

// Raw text runs from "<" to ">" inclusive. The name starts at the first non-blank after
// "<" and ends at the next blank; without a blank it is everything between the brackets,
// which keeps a leading blank or a trailing "/" and so misses the tag table on purpose.
void Tag::Parse(const std::string& raw)
{
    Clear();
    const std::size_t nameStart = FindNonSpace(raw, 1);
    if (nameStart == kNone) {
        name = "ERROR";
        return;
    }
    const std::size_t nameEnd = FindSpace(raw, nameStart);
    if (nameEnd == kNone) {
        name.assign(raw, 1, raw.size() - 2);
    } else {
        name.assign(raw, nameStart, nameEnd - nameStart);
        ParseRest(raw, nameEnd);
    }
    ToLower(name);
    code = LookUpTag(name);
}

// Only "script", "style" and their end forms carry these codes.
bool Tag::IsScriptOrStyle() const
{
    return (code == CodeScript || code == CodeStyle) && name[0] != '/';
}

void Tag::Clear()
{
    name.clear();
    attributeText.clear();
    attributes.clear();
    code = 0;
    attrState = ReadingName;
    pendingName.clear();
    pendingValue.clear();
    quote = ' ';
    atValueStart = true;
}

// A comment whose opener is followed by whitespace keeps its whole text, to be written
// back as it stood; anything else after the name is attribute text up to the final ">".
void Tag::ParseRest(const std::string& raw, std::size_t nameEnd)
{
    if (name == "!--") {
        attributeText = raw;
        return;
    }
    const std::size_t attributesStart = FindNonSpace(raw, nameEnd);
    if (attributesStart == kNone || attributesStart + 1 >= raw.size()) {
        return;
    }
    attributeText.assign(raw, attributesStart, raw.size() - 1 - attributesStart);
    ParseAttributes();
}

// The attribute parser reads whole runs of name or value characters at a time; each
// step returns the position after what it has read.
void Tag::ParseAttributes()
{
    std::size_t position = 0;
    while (position < attributeText.size()) {
        position = attrState == ReadingName ? ReadName(position) : ReadValue(position);
    }
    if (!pendingName.empty()) {
        CommitAttribute();
    }
}

// A name runs to whitespace or "="; quotes are ordinary name characters.
std::size_t Tag::ReadName(std::size_t position)
{
    const char character = attributeText[position];
    if (character == '=') {
        attrState = ReadingValue;
        return position + 1;
    }
    if (IsHtmlSpace(character)) {
        if (!pendingName.empty()) {
            CommitAttribute();
        }
        return position + 1;
    }
    std::size_t end = position + 1;
    while (end < attributeText.size() && !EndsName(attributeText[end])) {
        ++end;
    }
    pendingName.append(attributeText, position, end - position);
    return end;
}

// An opening quote is not part of the value; any other first character starts an
// unquoted value, which runs to the next whitespace and keeps any quotes in it.
std::size_t Tag::ReadValue(std::size_t position)
{
    if (atValueStart) {
        StartValue(attributeText[position]);
        return position + 1;
    }
    const std::size_t end = quote == ' ' ? FindSpace(attributeText, position)
                                         : attributeText.find(quote, position);
    if (end == kNone) {
        pendingValue.append(attributeText, position, kNone);
        return attributeText.size();
    }
    pendingValue.append(attributeText, position, end - position);
    CommitAttribute();
    attrState = ReadingName;
    atValueStart = true;
    return end + 1;
}

void Tag::StartValue(char character)
{
    atValueStart = false;
    if (character == '\'' || character == '"') {
        quote = character;
    } else {
        quote = ' ';
        pendingValue += character;
    }
}

// The later of two attributes with the same lower-cased name wins; a value read without
// a name is stored under the empty name.
void Tag::CommitAttribute()
{
    ToLower(pendingName);
    attributes.insert_or_assign(pendingName, pendingValue);
    pendingName.clear();
    pendingValue.clear();
}

}  // namespace reference
