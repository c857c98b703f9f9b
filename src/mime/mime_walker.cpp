// The walk is a small state machine over the lines of one message. Conventions:
// - every line handed on ends in "\r\n", whatever line end it had in the input;
// - a header block is handed on whole, its closing empty line included;
// - a delimiter line is only recognised in the body, compared exactly, and opens the
//   header block of the next part; header lines are never compared with delimiters;
// - the enclosing multiparts' delimiters wait at the back of outerDelimiters.
#include "mime/mime_walker.h"

#include <deque>

#include "common/find_no_case.h"

namespace {

// The state of one walk; MimeWalker itself keeps nothing between walks.
class MessageWalk {
public:
    MessageWalk(MimeWalker& walker, PartHandler& handler) : walker(walker), handler(handler) {}

    // A raw line comes with its line end, if it has one.
    void Take(std::string_view rawLine)
    {
        const std::string_view line = WithoutLineEnd(rawLine);
        switch (mode) {
        case MessageHeaders:
            OnMessageHeaderLine(line);
            break;
        case PartHeaders:
            OnPartHeaderLine(line);
            break;
        case Body:
            OnBodyLine(line, rawLine);
            break;
        }
    }

    // A block cut short by the end of the input still goes on as a header block.
    void End()
    {
        if (!pendingBlock.empty()) {
            HandOnBlock();
        }
    }

private:
    static std::string_view WithoutLineEnd(std::string_view rawLine)
    {
        if (!rawLine.empty() && rawLine.back() == '\n') {
            rawLine.remove_suffix(1);
        }
        if (!rawLine.empty() && rawLine.back() == '\r') {
            rawLine.remove_suffix(1);
        }
        return rawLine;
    }

    static bool EndsInCrLf(std::string_view rawLine)
    {
        return rawLine.size() >= 2 && rawLine.substr(rawLine.size() - 2) == "\r\n";
    }

    void OnMessageHeaderLine(std::string_view line)
    {
        if (!CollectHeaderLine(line)) {
            return;
        }
        mode = Body;
        SetDelimiter(OpenedDelimiter());
        HandOnBlock();
    }

    void OnPartHeaderLine(std::string_view line)
    {
        if (!CollectHeaderLine(line)) {
            return;
        }
        mode = Body;
        CloseInnerMultipart();
        OpenInnerMultipart();
        HandOnBlock();
    }

    // A line that already ends in "\r\n" goes on as it stands in the message.
    void OnBodyLine(std::string_view line, std::string_view rawLine)
    {
        if (IsDelimiterLine(line)) {
            pendingBlock.assign(line).append("\r\n");
            mode = PartHeaders;
            return;
        }
        if (EndsInCrLf(rawLine)) {
            handler.Receive(rawLine, false);
            return;
        }
        bodyLine.assign(line).append("\r\n");
        handler.Receive(bodyLine, false);
    }

    // True when the line was the empty one that ends the block.
    bool CollectHeaderLine(std::string_view line)
    {
        pendingBlock.append(line).append("\r\n");
        return line.empty();
    }

    // Without a boundary there is no delimiter, and no line is taken for one.
    bool IsDelimiterLine(std::string_view line) const
    {
        return !delimiter.empty() && (line == delimiter || line == closeDelimiter);
    }

    // A block opened by the close delimiter of a nested multipart returns to the
    // enclosing level; at most one level closes per block.
    void CloseInnerMultipart()
    {
        if (outerDelimiters.empty() || pendingBlock.compare(0, closeDelimiter.size(), closeDelimiter) != 0) {
            return;
        }
        SetDelimiter(outerDelimiters.back());
        outerDelimiters.pop_back();
    }

    void OpenInnerMultipart()
    {
        const std::string inner = OpenedDelimiter();
        if (inner.empty()) {
            return;
        }
        outerDelimiters.push_back(delimiter);
        SetDelimiter(inner);
    }

    // The delimiter of the multipart that the pending block opens; empty when its
    // Content-Type names no multipart type or carries no quoted boundary.
    std::string OpenedDelimiter()
    {
        std::string contentType;
        std::string opened;
        GetHeaderValue(pendingBlock, "Content-Type:", contentType);
        if (FindNoCase(contentType.c_str(), "multipart/") != nullptr) {
            walker.ParseBoundary(contentType, opened);
        }
        return opened;
    }

    void SetDelimiter(const std::string& value)
    {
        delimiter = value;
        closeDelimiter = value + "--";
    }

    void HandOnBlock()
    {
        handler.Receive(pendingBlock, true);
        pendingBlock.clear();
    }

    MimeWalker& walker;
    PartHandler& handler;
    WalkMode mode = MessageHeaders;
    std::string pendingBlock;
    std::string bodyLine;
    std::string delimiter;
    std::string closeDelimiter;
    std::deque<std::string> outerDelimiters;
};

}  // namespace

// HTML mail often arrives as one very long line: every line comes whole, however long.
void MimeWalker::Walk(std::string_view message, PartHandler* handler)
{
    if (handler == nullptr) {
        return;
    }
    MessageWalk walk(*this, *handler);
    std::size_t start = 0;
    while (start < message.size()) {
        const std::size_t lineFeed = message.find('\n', start);
        const std::size_t end = lineFeed == std::string_view::npos ? message.size() : lineFeed + 1;
        walk.Take(message.substr(start, end - start));
        start = end;
    }
    walk.End();
}

void MimeWalker::ParseBoundary(const std::string& contentType, std::string& delimiter)
{
    static const char kBoundaryParameter[] = "boundary=\"";
    const char* match = FindNoCase(contentType.c_str(), kBoundaryParameter);
    if (match == nullptr) {
        delimiter.clear();
        return;
    }
    const std::size_t start = (match - contentType.c_str()) + (sizeof kBoundaryParameter - 1);
    const std::size_t end = contentType.find('"', start);  // npos: to the end of the value
    delimiter = "--" + contentType.substr(start, end - start);
}
