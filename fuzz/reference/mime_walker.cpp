// The walk is a small state machine over the lines of one message. Conventions:
// - every line handed on ends in "\r\n", whatever line end it had in the input;
// - a header block is handed on whole, its closing empty line included;
// - a delimiter line is only recognised in the body, compared exactly, and opens the
//   header block of the next part; header lines are never compared with delimiters;
// - the enclosing multiparts' delimiters wait at the back of outerDelimiters.
#include "fuzz/reference/mime_walker.h"

#include <deque>

#include "fuzz/reference/find_no_case.h"

namespace reference {

namespace {

constexpr std::streamsize kLineBufferSize = 4096;

// The state of one walk; MimeWalker itself keeps nothing between walks.
class MessageWalk {
public:
    MessageWalk(MimeWalker& walker, PartHandler& handler) : walker(walker), handler(handler) {}

    void Take(const std::string& line)
    {
        switch (mode) {
        case MessageHeaders:
            OnMessageHeaderLine(line);
            break;
        case PartHeaders:
            OnPartHeaderLine(line);
            break;
        case Body:
            OnBodyLine(line);
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
    void OnMessageHeaderLine(const std::string& line)
    {
        if (!CollectHeaderLine(line)) {
            return;
        }
        mode = Body;
        SetDelimiter(OpenedDelimiter());
        HandOnBlock();
    }

    void OnPartHeaderLine(const std::string& line)
    {
        if (!CollectHeaderLine(line)) {
            return;
        }
        mode = Body;
        CloseInnerMultipart();
        OpenInnerMultipart();
        HandOnBlock();
    }

    void OnBodyLine(const std::string& line)
    {
        if (IsDelimiterLine(line)) {
            pendingBlock.assign(line).append("\r\n");
            mode = PartHeaders;
            return;
        }
        bodyLine.assign(line).append("\r\n");
        handler.Receive(bodyLine, false);
    }

    // True when the line was the empty one that ends the block.
    bool CollectHeaderLine(const std::string& line)
    {
        pendingBlock.append(line).append("\r\n");
        return line.empty();
    }

    // Without a boundary there is no delimiter, and no line is taken for one.
    bool IsDelimiterLine(const std::string& line) const
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

// getline stopped because the buffer was full, not at a line feed or the end.
bool StoppedAtFullBuffer(const std::istream& in)
{
    return in.fail() && !in.bad() && !in.eof() && in.gcount() == kLineBufferSize - 1;
}

}  // namespace

void MimeWalker::Walk(std::istream& in, PartHandler* handler)
{
    if (handler == nullptr) {
        return;
    }
    MessageWalk walk(*this, *handler);
    std::string line;
    while (ReadLine(in, line)) {
        walk.Take(line);
    }
    walk.End();
}

// HTML mail often arrives as one very long line: a line longer than the buffer is read
// in buffer-sized pieces and comes back whole.
bool MimeWalker::ReadLine(std::istream& in, std::string& line)
{
    line.clear();
    char buffer[kLineBufferSize];
    for (;;) {
        in.getline(buffer, kLineBufferSize);
        const bool endedAtLineFeed = in.good();
        line.append(buffer, endedAtLineFeed ? in.gcount() - 1 : in.gcount());
        if (!StoppedAtFullBuffer(in)) {
            break;
        }
        in.clear();
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return !in.fail();
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

}  // namespace reference
