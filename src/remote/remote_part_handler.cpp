#include "remote/remote_part_handler.h"

#include "common/find_no_case.h"
#include "common/string_helpers.h"
#include "html/tag_scanner.h"
#include "mime/mime_walker.h"
#include "remote/recipients.h"

RemotePartHandler::RemotePartHandler(RemoteFilter& filter, OutputBuffer& output) : filter(filter), output(output) {}

void RemotePartHandler::Receive(std::string_view text, bool isHeaderBlock)
{
    if (!isHeaderBlock) {
        body.Append(text);
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
    output.Append(text);
}

void RemotePartHandler::ReceiveBodyLines(std::string_view rawLines)
{
    body.AppendLines(rawLines);
}

// The scanner leaves out the whitespace that ends a body; it goes back as it was.
void RemotePartHandler::Finish()
{
    const std::string_view text = body.Text();
    if (text.empty()) {
        return;
    }
    if (isHtml) {
        std::size_t kept = text.size();
        while (kept > 0 && IsHtmlSpace(text[kept - 1])) {
            --kept;
        }
        TagScanner scanner;
        scanner.Run(text.substr(0, kept), &filter);
        filter.FinishPart();
        output.Append(text.data() + kept, text.size() - kept);
    } else {
        output.Append(text);
    }
    body.Clear();
}
