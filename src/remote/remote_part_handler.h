#ifndef TAGSTRIP_REMOTE_REMOTE_PART_HANDLER_H
#define TAGSTRIP_REMOTE_REMOTE_PART_HANDLER_H

#include <string>
#include <string_view>

#include "common/output_buffer.h"
#include "mime/part_body.h"
#include "mime/part_handler.h"
#include "remote/remote_filter.h"

// Writes header blocks and the bodies of other parts as they came, and the body of each
// HTML part through the tag scanner and the remote filter. The message's own header block
// names the recipients.
class RemotePartHandler : public PartHandler {
public:
    RemotePartHandler(RemoteFilter& filter, OutputBuffer& output);

    void Receive(std::string_view text, bool isHeaderBlock) override;
    void ReceiveBodyLines(std::string_view rawLines) override;
    // Writes the last part's body.
    void Finish();

private:
    RemoteFilter& filter;
    OutputBuffer& output;
    PartBody body;
    bool isHtml = false;
    bool seenMessageHeader = false;
};

#endif
