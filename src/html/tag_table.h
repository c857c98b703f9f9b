#ifndef TAGSTRIP_HTML_TAG_TABLE_H
#define TAGSTRIP_HTML_TAG_TABLE_H

#include <cstdint>
#include <string_view>

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

// The code of an already lower-cased name, exactly as written; 0 when the table does not
// hold it. The table is a constant: any thread may look names up at any time.
TagCode LookUpTag(std::string_view name);

#endif
