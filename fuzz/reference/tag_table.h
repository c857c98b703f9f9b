#ifndef TAGSTRIP_REFERENCE_TAG_TABLE_H
#define TAGSTRIP_REFERENCE_TAG_TABLE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace reference {

// The number of a known tag name, the same for its start and end form; 0 for other names.
typedef std::int32_t TagCode;

enum : TagCode {
    CodeA = 1,
    CodeApplet = 2,
    CodeBody = 3,
    CodeBr = 4,
    CodeComment = 5,
    CodeFrame = 6,
    CodeHead = 7,
    CodeHtml = 8,
    CodeIframe = 9,
    CodeImg = 10,
    CodeLayer = 11,
    CodeLink = 12,
    CodeMeta = 13,
    CodeP = 14,
    CodeScript = 15,
    CodeObject = 16,
    CodeStyle = 17,
    CodeTable = 18,
    CodeTd = 19,
    CodeTh = 20,
    CodeTitle = 21,
    CodeTr = 22
};

// Plain byte-wise order of names, compared in line: names are short, and every tag
// looks its name up once and its attributes several times.
struct ByteOrder {
    typedef void is_transparent;

    bool operator()(std::string_view left, std::string_view right) const
    {
        const std::size_t common = left.size() < right.size() ? left.size() : right.size();
        for (std::size_t index = 0; index < common; ++index) {
            const unsigned char leftByte = static_cast<unsigned char>(left[index]);
            const unsigned char rightByte = static_cast<unsigned char>(right[index]);
            if (leftByte != rightByte) {
                return leftByte < rightByte;
            }
        }
        return left.size() < right.size();
    }
};

typedef std::map<std::string, TagCode, ByteOrder> TagTable;

// The one table of known tags, built on first use (safe when two threads race to it).
const TagTable& GetTagTable();

// The code of an already lower-cased name, 0 when the table does not hold it.
TagCode LookUpTag(const std::string& name);

}  // namespace reference

#endif
