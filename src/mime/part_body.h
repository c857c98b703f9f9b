#ifndef TAGSTRIP_MIME_PART_BODY_H
#define TAGSTRIP_MIME_PART_BODY_H

#include <string>
#include <string_view>

// The body of one part as the walker hands it on. A run of body lines whose every line
// already ends in "\r\n" is held as a view of the walked message, where it lies; only a
// body the walker's CRLF line ends change, or one that comes in several pieces, is copied.
class PartBody {
public:
    // A run of lines as they stand in the walked message, which outlives this body.
    void AppendLines(std::string_view rawLines);
    // One line ending in "\r\n", which lives only for the call.
    void Append(std::string_view line);
    std::string_view Text() const { return copied ? std::string_view(copy) : view; }
    bool Empty() const { return Text().empty(); }
    // Forgets the text; the copy's memory is kept for the next part.
    void Clear();

private:
    std::string& Copy();

    std::string_view view;
    std::string copy;
    bool copied = false;
};

#endif
