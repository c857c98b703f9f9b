#include "mime/part_body.h"

#include "mime/line_ends.h"

namespace {

// Whether the walker hands the lines on as they stand: every line feed follows a
// carriage return, and the last line has one.
bool AlreadyCrLf(std::string_view rawLines)
{
    if (rawLines.size() < 2 || rawLines.substr(rawLines.size() - 2) != "\r\n") {
        return false;
    }
    for (std::size_t lineFeed = rawLines.find('\n'); lineFeed != std::string_view::npos;
         lineFeed = rawLines.find('\n', lineFeed + 1)) {
        if (lineFeed == 0 || rawLines[lineFeed - 1] != '\r') {
            return false;
        }
    }
    return true;
}

}  // namespace

void PartBody::AppendLines(std::string_view rawLines)
{
    if (rawLines.empty()) {
        return;
    }
    if (Empty() && AlreadyCrLf(rawLines)) {
        view = rawLines;
        return;
    }
    AppendWithCrLfLineEnds(Copy(), rawLines);
}

void PartBody::Append(std::string_view line)
{
    if (!line.empty()) {
        Copy() += line;
    }
}

void PartBody::Clear()
{
    view = std::string_view();
    copy.clear();
    copied = false;
}

std::string& PartBody::Copy()
{
    if (!copied) {
        copy.assign(view);
        copied = true;
    }
    return copy;
}
