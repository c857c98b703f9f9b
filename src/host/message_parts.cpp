#include "host/message_parts.h"

#include <string_view>

#include "common/find_no_case.h"
#include "mime/mime_walker.h"
#include "mime/part_handler.h"

namespace {

// Every text the walker hands on is whole lines of the input, so counting its line feeds
// moves a cursor over the input line by line.
class PartLocator : public PartHandler {
public:
    explicit PartLocator(const std::string& text) : text(text) {}

    void Receive(std::string_view handed, bool isHeaderBlock) override
    {
        if (isHeaderBlock) {
            CloseBody();
            MessagePart part;
            part.headerStart = cursor;
            part.isHtml = NamesHtml(handed);
            parts.push_back(part);
        }
        for (std::size_t lines = Count(handed, '\n'); lines > 0; --lines) {
            SkipLine();
        }
        if (isHeaderBlock) {
            parts.back().bodyStart = cursor;
        }
    }

    // A run of body lines is handed on as it stands in the text.
    void ReceiveBodyLines(std::string_view rawLines) override { cursor += rawLines.size(); }

    std::vector<MessagePart> Finish()
    {
        CloseBody();
        return std::move(parts);
    }

private:
    // The analyzer's own test: "text/html" anywhere in the raw Content-Type value.
    static bool NamesHtml(std::string_view block)
    {
        std::string contentType;
        GetHeaderValue(block, "Content-Type:", contentType);
        return FindNoCase(contentType.c_str(), "text/html") != nullptr;
    }

    static std::size_t Count(std::string_view handed, char wanted)
    {
        std::size_t count = 0;
        for (char character : handed) {
            count += character == wanted;
        }
        return count;
    }

    void SkipLine()
    {
        const std::size_t lineFeed = text.find('\n', cursor);
        cursor = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
    }

    void CloseBody()
    {
        if (!parts.empty()) {
            parts.back().bodyEnd = cursor;
        }
    }

    const std::string& text;
    std::size_t cursor = 0;
    std::vector<MessagePart> parts;
};

}  // namespace

std::vector<MessagePart> LocateParts(const std::string& text)
{
    PartLocator locator(text);
    MimeWalker().Walk(text, &locator);
    return locator.Finish();
}

std::string AsWalkerHandsItOn(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 32 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            result += '\r';
        }
        result += text[i];
    }
    if (!result.empty() && result.back() != '\n') {
        result += result.back() == '\r' ? "\n" : "\r\n";
    }
    return result;
}
