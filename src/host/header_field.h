#ifndef TAGSTRIP_HOST_HEADER_FIELD_H
#define TAGSTRIP_HOST_HEADER_FIELD_H

#include <cstddef>
#include <string>

// One header field of a header block: [start, end) covers its name, its value and its
// folded continuation lines, up to and including the last line end.
struct HeaderFieldSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string value;  // unfolded, without the blanks around it
};

// The first field named name (given without its colon, any letter case) that begins a
// line within [from, to) of text.
bool FindHeaderField(const std::string& text, std::size_t from, std::size_t to, const std::string& name,
                     HeaderFieldSpan& field);

// Whether two ASCII words are equal, ignoring the letter case.
bool SameWord(std::string left, std::string right);

#endif
