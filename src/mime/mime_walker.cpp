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

    // Takes what follows start in the current mode: one header line, or body lines up to
    // the next delimiter line. Returns where it stopped.
    std::size_t Step(std::string_view message, std::size_t start)
    {
        switch (mode) {
        case MessageHeaders:
            return TakeHeaderLine(message, start, &MessageWalk::OnMessageHeaderLine);
        case PartHeaders:
            return TakeHeaderLine(message, start, &MessageWalk::OnPartHeaderLine);
        case Body:
            return TakeBody(message, start);
        }
        return message.size();
    }

    // A block cut short by the end of the input still goes on as a header block.
    void End()
    {
        if (!pendingBlock.empty()) {
            HandOnBlock();
        }
    }

private:
    static std::size_t LineEnd(std::string_view message, std::size_t start)
    {
        const std::size_t lineFeed = message.find('\n', start);
        return lineFeed == std::string_view::npos ? message.size() : lineFeed + 1;
    }

    std::size_t TakeHeaderLine(std::string_view message, std::size_t start,
                               void (MessageWalk::*onLine)(std::string_view))
    {
        const std::size_t lineEnd = LineEnd(message, start);
        (this->*onLine)(WithoutLineEnd(message.substr(start, lineEnd - start)));
        return lineEnd;
    }

    // Body lines go on in runs, up to the next delimiter line, which opens the next
    // part's header block, or to the end of the message.
    std::size_t TakeBody(std::string_view message, std::size_t start)
    {
        std::size_t lineStart = start;
        while (!delimiter.empty() && lineStart < message.size()) {
            const std::size_t lineEnd = LineEnd(message, lineStart);
            const std::string_view line = WithoutLineEnd(message.substr(lineStart, lineEnd - lineStart));
            if (IsDelimiterLine(line)) {
                HandOnBodyLines(message.substr(start, lineStart - start));
                pendingBlock.assign(line).append("\r\n");
                mode = PartHeaders;
                return lineEnd;
            }
            lineStart = lineEnd;
        }
        HandOnBodyLines(message.substr(start));
        return message.size();
    }

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

    void HandOnBodyLines(std::string_view rawLines)
    {
        if (!rawLines.empty()) {
            handler.ReceiveBodyLines(rawLines);
        }
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
        return !delimiter.empty() && line.size() >= delimiter.size() && line[0] == '-' &&
               (line == delimiter || line == closeDelimiter);
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
    for (std::size_t start = 0; start < message.size();) {
        start = walk.Step(message, start);
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
