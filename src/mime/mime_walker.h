#ifndef TAGSTRIP_MIME_MIME_WALKER_H
#define TAGSTRIP_MIME_MIME_WALKER_H

#include <string>
#include <string_view>

#include "mime/part_handler.h"

enum WalkMode {
    MessageHeaders,
    PartHeaders,
    Body
};

// Cuts a message into header blocks and body lines along its nested multipart boundaries.
// Changes no text: joining everything handed on gives the input with each line end "\r\n".
// A line runs to its line feed, however long; one carriage return before it is dropped.
class MimeWalker {
public:
    void Walk(std::string_view message, PartHandler* handler);
    void ParseBoundary(const std::string& contentType, std::string& delimiter);
};

// The raw value of header name (given with its colon) in a header block, folded
// continuation lines included; empty when the block does not hold it. The block is read
// up to its first NUL.
void GetHeaderValue(std::string_view block, const char* name, std::string& value);

#endif
