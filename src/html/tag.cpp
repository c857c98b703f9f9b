#include "html/tag.h"

#include "common/string_helpers.h"

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

void Tag::ParseAttributes()
{
    for (const char character : attributeText) {
        StepAttribute(character);
    }
    if (!pendingName.empty()) {
        CommitAttribute();
    }
}

void Tag::StepAttribute(char character)
{
    if (attrState == ReadingName) {
        StepName(character);
    } else if (atValueStart) {
        StartValue(character);
    } else {
        StepValue(character);
    }
}

void Tag::StepName(char character)
{
    if (character == '=') {
        attrState = ReadingValue;
    } else if (!IsHtmlSpace(character)) {
        pendingName += character;
    } else if (!pendingName.empty()) {
        CommitAttribute();
    }
}

// An opening quote is not part of the value; any other first character starts an
// unquoted value, which runs to the next whitespace.
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

void Tag::StepValue(char character)
{
    const bool endsValue = quote == ' ' ? IsHtmlSpace(character) : character == quote;
    if (!endsValue) {
        pendingValue += character;
        return;
    }
    CommitAttribute();
    attrState = ReadingName;
    atValueStart = true;
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
