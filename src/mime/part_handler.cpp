#include "mime/part_handler.h"

#include <string>

#include "mime/line_ends.h"

void PartHandler::ReceiveBodyLines(std::string_view rawLines)
{
    std::string line;
    while (!rawLines.empty()) {
        const std::size_t lineFeed = rawLines.find('\n');
        const std::size_t end = lineFeed == std::string_view::npos ? rawLines.size() : lineFeed + 1;
        line.clear();
        AppendWithCrLfLineEnds(line, rawLines.substr(0, end));
        Receive(line, false);
        rawLines.remove_prefix(end);
    }
}
