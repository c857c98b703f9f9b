#ifndef TAGSTRIP_REFERENCE_MIME_WALKER_H
#define TAGSTRIP_REFERENCE_MIME_WALKER_H

#include <istream>
#include <string>

#include "fuzz/reference/part_handler.h"

namespace reference {

enum WalkMode {
    MessageHeaders,
    PartHeaders,
    Body
};

// Cuts a message into header blocks and body lines along its nested multipart boundaries.
// Changes no text: joining everything handed on gives the input with each line end "\r\n".
class MimeWalker {
public:
    void Walk(std::istream& in, PartHandler* handler);
    bool ReadLine(std::istream& in, std::string& line);
    void ParseBoundary(const std::string& contentType, std::string& delimiter);
};

// The raw value of header name (given with its colon) in a header block, folded
// continuation lines included; empty when the block does not hold it.
void GetHeaderValue(const std::string& block, const char* name, std::string& value);

}  // namespace reference

#endif
