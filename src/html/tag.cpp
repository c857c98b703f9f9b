#include "html/tag.h"

#include <algorithm>

#include "common/string_helpers.h"

namespace {

const std::size_t kNone = std::string_view::npos;

enum AttrState {
    ReadingName,
    ReadingValue
};

std::size_t FindSpace(std::string_view text, std::size_t from)
{
    for (std::size_t position = from; position < text.size(); ++position) {
        if (IsHtmlSpace(text[position])) {
            return position;
        }
    }
    return kNone;
}

std::size_t FindNonSpace(std::string_view text, std::size_t from)
{
    for (std::size_t position = from; position < text.size(); ++position) {
        if (!IsHtmlSpace(text[position])) {
            return position;
        }
    }
    return kNone;
}

bool IsCapital(char character)
{
    return character >= 'A' && character <= 'Z';
}

// Every byte of every tag name is classed: one table read instead of five comparisons.
enum : unsigned char {
    ClassBlank = 1,
    ClassCapital = 2
};

struct ByteClasses {
    unsigned char of[256] = {};
};

constexpr ByteClasses MakeByteClasses()
{
    ByteClasses classes;
    for (unsigned char blank : {' ', '\t', '\n', '\r'}) {
        classes.of[blank] = ClassBlank;
    }
    for (int letter = 'A'; letter <= 'Z'; ++letter) {
        classes.of[letter] = ClassCapital;
    }
    return classes;
}

constexpr ByteClasses kByteClasses = MakeByteClasses();

unsigned char ClassOf(char character)
{
    return kByteClasses.of[static_cast<unsigned char>(character)];
}

bool EndsName(char character)
{
    return character == '=' || IsHtmlSpace(character);
}

bool ByNameThenPosition(const Attribute& left, const Attribute& right)
{
    return left.name != right.name ? left.name < right.name : left.position < right.position;
}

bool ByName(const Attribute& attribute, std::string_view name)
{
    return attribute.name < name;
}

}  // namespace

// Raw text runs from "<" to ">" inclusive. The name starts at the first non-blank after
// "<" and ends at the next blank; without a blank it is everything between the brackets,
// which keeps a leading blank or a trailing "/" and so misses the tag table on purpose.
// Most names are written in lower case and stay where they stand in the raw text.
void Tag::Parse(std::string_view raw)
{
    Clear();
    const std::size_t nameStart = FindNonSpace(raw, 1);
    if (nameStart == kNone) {
        name = "ERROR";
        return;
    }
    unsigned char classesInName = 0;
    std::size_t nameEnd = nameStart;
    for (; nameEnd < raw.size() && (ClassOf(raw[nameEnd]) & ClassBlank) == 0; ++nameEnd) {
        classesInName |= ClassOf(raw[nameEnd]);
    }
    const bool capitals = (classesInName & ClassCapital) != 0;
    const bool blankAfterName = nameEnd < raw.size();
    const std::string_view written =
        blankAfterName ? raw.substr(nameStart, nameEnd - nameStart) : raw.substr(1, raw.size() - 2);
    name = capitals ? LowerCased(written) : written;
    if (blankAfterName) {
        ParseRest(raw, nameEnd);
    }
    code = LookUpTag(name);
}

// Only "script", "style" and their end forms carry these codes.
bool Tag::IsScriptOrStyle() const
{
    return (code == CodeScript || code == CodeStyle) && name[0] != '/';
}

void Tag::Clear()
{
    name = std::string_view();
    attributeText = std::string_view();
    attributes.clear();
    attributeNames.clear();
    attributeState = AttributesSorted;
    code = 0;
}

void Tag::ReadAttributes() const
{
    if (attributeState == AttributesUnread) {
        attributeState = AttributesInOrder;
        ParseAttributes();
    }
}

const std::vector<Attribute>& Tag::Attributes() const
{
    ReadAttributes();
    if (attributeState == AttributesInOrder) {
        attributeState = AttributesSorted;
        KeepLastOfEachName();
    }
    return attributes;
}

// Of several attributes of that name the last one written counts.
const Attribute* Tag::FindAttribute(std::string_view attributeName) const
{
    ReadAttributes();
    if (attributeState == AttributesSorted) {
        const auto found = std::lower_bound(attributes.begin(), attributes.end(), attributeName, ByName);
        return found != attributes.end() && found->name == attributeName ? &*found : nullptr;
    }
    for (auto attribute = attributes.rbegin(); attribute != attributes.rend(); ++attribute) {
        if (attribute->name == attributeName) {
            return &*attribute;
        }
    }
    return nullptr;
}

std::string_view Tag::LowerCased(std::string_view writtenName)
{
    loweredName.assign(writtenName);
    ToLower(loweredName);
    return loweredName;
}

// A comment whose opener is followed by whitespace keeps its whole text, to be written
// back as it stood; anything else after the name is attribute text up to the final ">".
void Tag::ParseRest(std::string_view raw, std::size_t nameEnd)
{
    if (name == "!--") {
        attributeText = raw;
        return;
    }
    const std::size_t attributesStart = FindNonSpace(raw, nameEnd);
    if (attributesStart == kNone || attributesStart + 1 >= raw.size()) {
        return;
    }
    attributeText = raw.substr(attributesStart, raw.size() - 1 - attributesStart);
    attributeState = AttributesUnread;
}

// The attribute parser reads whole names and values at a time. A name runs to whitespace
// or "=", quotes being ordinary name characters. An opening quote is not part of the
// value; any other first character, whitespace included, starts an unquoted value, which
// runs to the next whitespace and keeps any quotes in it. A value still open at the end
// is kept only when it has a name; a value closed without a name gets the empty name.
void Tag::ParseAttributes() const
{
    if (attributeNames.capacity() < attributeText.size()) {
        attributeNames.reserve(attributeText.size());
    }
    const std::string_view text = attributeText;
    AttrState state = ReadingName;
    std::string_view pendingName;
    std::string_view pendingValue;
    std::size_t position = 0;
    while (position < text.size()) {
        const char character = text[position];
        switch (state) {
        case ReadingName:
            if (character == '=') {
                state = ReadingValue;
                ++position;
            } else if (IsHtmlSpace(character)) {
                if (!pendingName.empty()) {
                    AddAttribute(pendingName, std::string_view());
                    pendingName = std::string_view();
                }
                ++position;
            } else {
                std::size_t end = position + 1;
                while (end < text.size() && !EndsName(text[end])) {
                    ++end;
                }
                pendingName = text.substr(position, end - position);
                position = end;
            }
            break;
        case ReadingValue: {
            const bool quoted = character == '\'' || character == '"';
            const std::size_t start = quoted ? position + 1 : position;
            const std::size_t end = quoted ? text.find(character, start) : FindSpace(text, position + 1);
            if (end == kNone) {
                pendingValue = text.substr(start);
                position = text.size();
            } else {
                AddAttribute(pendingName, text.substr(start, end - start));
                pendingName = std::string_view();
                state = ReadingName;
                position = end + 1;
            }
            break;
        }
        }
    }
    if (!pendingName.empty()) {
        AddAttribute(pendingName, pendingValue);
    }
}

// A name written in lower case stays where it stands in the attribute text.
void Tag::AddAttribute(std::string_view rawName, std::string_view value) const
{
    const auto position = static_cast<std::uint32_t>(attributes.size());
    if (std::none_of(rawName.begin(), rawName.end(), IsCapital)) {
        attributes.push_back({rawName, value, position});
        return;
    }
    const std::size_t start = attributeNames.size();
    attributeNames.append(rawName);
    std::string_view lowered(attributeNames.data() + start, rawName.size());
    for (std::size_t index = start; index < attributeNames.size(); ++index) {
        attributeNames[index] = FoldAsciiLetter(attributeNames[index]);
    }
    attributes.push_back({lowered, value, position});
}

// Sorted by name, and of several attributes of one name the last one written stays.
void Tag::KeepLastOfEachName() const
{
    if (attributes.size() < 2) {
        return;
    }
    std::sort(attributes.begin(), attributes.end(), ByNameThenPosition);
    std::size_t kept = 0;
    for (std::size_t index = 0; index < attributes.size(); ++index) {
        if (index + 1 < attributes.size() && attributes[index + 1].name == attributes[index].name) {
            continue;
        }
        attributes[kept++] = attributes[index];
    }
    attributes.resize(kept);
}
