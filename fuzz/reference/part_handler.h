#ifndef TAGSTRIP_REFERENCE_PART_HANDLER_H
#define TAGSTRIP_REFERENCE_PART_HANDLER_H

#include <string>

namespace reference {

// What the MIME walker hands on: a whole header block (its lines each ending in "\r\n",
// the empty line included) or one body line ending in "\r\n".
class PartHandler {
public:
    virtual ~PartHandler() = default;
    virtual void Receive(const std::string& text, bool isHeaderBlock) = 0;
};

}  // namespace reference

#endif
