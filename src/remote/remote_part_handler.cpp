#include "remote/remote_part_handler.h"

#include "common/find_no_case.h"
#include "common/string_helpers.h"
#include "html/tag_scanner.h"
#include "mime/line_ends.h"
#include "mime/mime_walker.h"
#include "remote/recipients.h"

RemotePartHandler::RemotePartHandler(RemoteFilter& filter, std::ostream& output) : filter(filter), output(output) {}

void RemotePartHandler::Receive(std::string_view text, bool isHeaderBlock)
{
    if (!isHeaderBlock) {
        body += text;
        return;
    }
    Finish();
    if (!seenMessageHeader) {
        filter.SetRecipients(RecipientAddresses(std::string(text)));
        seenMessageHeader = true;
    }
    std::string contentType;
    GetHeaderValue(text, "Content-Type:", contentType);
    isHtml = FindNoCase(contentType.c_str(), "text/html") != nullptr;
    WriteBytes(output, text);
}

void RemotePartHandler::ReceiveBodyLines(std::string_view rawLines)
{
    AppendWithCrLfLineEnds(body, rawLines);
}

// The scanner leaves out the whitespace that ends a body; it goes back as it was.
void RemotePartHandler::Finish()
{
    if (body.empty()) {
        return;
    }
    if (isHtml) {
        std::size_t kept = body.size();
        while (kept > 0 && IsHtmlSpace(body[kept - 1])) {
            --kept;
        }
        TagScanner scanner;
        scanner.Run(std::string_view(body.data(), kept), &filter);
        filter.FinishPart();
        WriteBytes(output, body.data() + kept, body.size() - kept);
    } else {
        WriteBytes(output, body);
    }
    body.clear();
}
