#ifndef TAGSTRIP_HTML_TAG_H
#define TAGSTRIP_HTML_TAG_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "html/tag_table.h"

// One attribute of a parsed tag: its lower-cased name and its value as written, without
// quotes. The name lies in the tag's own store, the value in the raw text of the tag.
struct Attribute {
    std::string_view name;
    std::string_view value;
    std::uint32_t position;  // where it stood among the tag's attributes
};

// One parsed tag or comment: lower-cased name (an end tag keeps its "/"), the raw
// attribute text, the attributes in byte order of their lower-cased names (one per name,
// the later value winning) and the tag table code of the name. The name, the attribute
// text and the values point into the raw text, which must outlive the parsed tag; only a
// name written with capitals is lower-cased into the tag's own store.
//
// Most tags are dropped or kept without a look at their attributes, so the attribute
// text is parsed only when the attributes are first asked for; and a rule that looks for
// one attribute finds it among them as written, so they are sorted only for writing.
class Tag {
public:
    void Parse(std::string_view raw);
    bool IsScriptOrStyle() const;
    // Back to the state of a freshly constructed tag; the buffers keep their room.
    void Clear();
    const std::vector<Attribute>& Attributes() const;
    // The attribute of that exact lower-case name, or null.
    const Attribute* FindAttribute(std::string_view attributeName) const;

    std::string_view name;
    std::string_view attributeText;
    TagCode code = 0;

private:
    std::string_view LowerCased(std::string_view writtenName);
    void ParseRest(std::string_view raw, std::size_t nameEnd);
    void ParseAttributes() const;
    void AddAttribute(std::string_view rawName, std::string_view value) const;
    void KeepLastOfEachName() const;

    enum AttributeState {
        AttributesUnread,   // attributeText not parsed yet
        AttributesInOrder,  // as written, names repeated
        AttributesSorted    // in byte order of their names, one per name
    };

    void ReadAttributes() const;

    // Filled on first use from attributeText, which a tag never changes after Parse.
    mutable AttributeState attributeState = AttributesSorted;
    mutable std::vector<Attribute> attributes;
    // The lower-cased attribute names; reserved before parsing so that it never moves.
    mutable std::string attributeNames;
    std::string loweredName;
};

#endif
