#ifndef TAGSTRIP_REFERENCE_TAG_H
#define TAGSTRIP_REFERENCE_TAG_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>

#include "fuzz/reference/tag_table.h"

namespace reference {

enum AttrState : std::int32_t {
    ReadingName = 1,
    ReadingValue = 2
};

// One parsed tag or comment: lower-cased name (an end tag keeps its "/"), the raw attribute
// text, the attributes by lower-cased name (one entry per name, the later value winning)
// and the tag table code of the name.
class Tag {
public:
    void Parse(const std::string& raw);
    bool IsScriptOrStyle() const;
    // Back to the state of a freshly constructed tag; the strings keep their room.
    void Clear();

    std::string name;
    std::string attributeText;
    std::map<std::string, std::string, ByteOrder> attributes;
    TagCode code = 0;

    // Working state of the attribute parser; meaningless outside Parse.
    AttrState attrState = ReadingName;
    std::string pendingName;
    std::string pendingValue;
    char quote = ' ';
    bool atValueStart = true;

private:
    void ParseRest(const std::string& raw, std::size_t nameEnd);
    void ParseAttributes();
    std::size_t ReadName(std::size_t position);
    std::size_t ReadValue(std::size_t position);
    void StartValue(char character);
    void CommitAttribute();
};

// Writes a tag in the normalised form: "<name attr="value" flag>"; a comment whose opener
// is followed by whitespace is written as it stood.
std::ostream& operator<<(std::ostream& out, const Tag& tag);

// Writes a value between double quotes, each double quote inside it as "&quot;".
void WriteQuotedValue(std::ostream& out, const std::string& value);

// Unformatted writes straight into the stream's buffer, as every byte of every HTML part
// passes here: a field width left on the stream pads nothing, and a stream that has
// failed swallows the bytes.
void WriteBytes(std::ostream& out, const char* data, std::size_t size);
void WriteBytes(std::ostream& out, const std::string& text);

inline void WriteByte(std::ostream& out, char character)
{
    if (out.good() && out.rdbuf()->sputc(character) == std::char_traits<char>::eof()) {
        out.setstate(std::ios::badbit);
    }
}

}  // namespace reference

#endif
