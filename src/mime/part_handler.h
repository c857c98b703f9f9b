#ifndef TAGSTRIP_MIME_PART_HANDLER_H
#define TAGSTRIP_MIME_PART_HANDLER_H

#include <string_view>

// What the MIME walker hands on: a whole header block (its lines each ending in "\r\n",
// the empty line included) or one body line ending in "\r\n". The text lives only for
// the call.
class PartHandler {
public:
    virtual ~PartHandler() = default;
    virtual void Receive(std::string_view text, bool isHeaderBlock) = 0;
};

#endif
