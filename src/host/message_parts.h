#ifndef TAGSTRIP_HOST_MESSAGE_PARTS_H
#define TAGSTRIP_HOST_MESSAGE_PARTS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One header block and the body lines after it, as the MIME walker hands them on, placed
// in the text it walked: [headerStart, bodyStart) is the block, [bodyStart, bodyEnd) the
// body, in the text's own bytes and line ends.
struct MessagePart {
    std::size_t headerStart = 0;
    std::size_t bodyStart = 0;
    std::size_t bodyEnd = 0;
    bool isHtml = false;  // the analyzer sends this body through its tag scanner
};

// Walks text with the analyzer's own MIME walker. The parts come in text order; the
// first is the message's own header block.
std::vector<MessagePart> LocateParts(const std::string& text);

// Text as the walker hands it on: every line end CRLF (a line's one trailing CR is its
// own), and a last line without a line end given one.
std::string AsWalkerHandsItOn(std::string_view text);

#endif
