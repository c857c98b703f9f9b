#ifndef TAGSTRIP_MIME_PART_HANDLER_H
#define TAGSTRIP_MIME_PART_HANDLER_H

#include <string_view>

// What the MIME walker hands on: a whole header block (its lines each ending in "\r\n",
// the empty line included) or body lines. The text lives only for the call.
class PartHandler {
public:
    virtual ~PartHandler() = default;
    // A header block, or one body line ending in "\r\n".
    virtual void Receive(std::string_view text, bool isHeaderBlock) = 0;
    // A run of consecutive body lines as they stand in the message, each with its own
    // line end; the last line of the message may have none. Unlike other texts, the run
    // is a view of the walked message and stays valid as long as the message. A handler that collects
    // bodies takes the run whole (AppendWithCrLfLineEnds); by default each line goes to
    // Receive with "\r\n" as its line end.
    virtual void ReceiveBodyLines(std::string_view rawLines);
};

#endif
