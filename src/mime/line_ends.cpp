#include "mime/line_ends.h"

void AppendWithCrLfLineEnds(std::string& out, std::string_view rawLines)
{
    std::size_t copied = 0;
    std::size_t lineStart = 0;
    for (std::size_t lineFeed = rawLines.find('\n'); lineFeed != std::string_view::npos;
         lineFeed = rawLines.find('\n', lineFeed + 1)) {
        if (lineFeed == 0 || rawLines[lineFeed - 1] != '\r') {
            out.append(rawLines.data() + copied, lineFeed - copied).append("\r\n", 2);
            copied = lineFeed + 1;
        }
        lineStart = lineFeed + 1;
    }
    if (lineStart == rawLines.size()) {
        out.append(rawLines.data() + copied, rawLines.size() - copied);
        return;
    }
    std::size_t end = rawLines.size();
    if (rawLines[end - 1] == '\r') {
        --end;
    }
    out.append(rawLines.data() + copied, end - copied).append("\r\n", 2);
}
