#include <cstring>

#include "common/find_no_case.h"
#include "common/string_helpers.h"
#include "mime/mime_walker.h"

namespace {

// A line that begins with a blank continues the header above it.
bool StartsContinuationLine(std::string_view block, std::size_t lineFeed)
{
    return lineFeed + 1 < block.size() && (block[lineFeed + 1] == ' ' || block[lineFeed + 1] == '\t');
}

}  // namespace

// The first match anywhere counts, even inside a longer header name; the value stays raw,
// with its leading blank, carriage returns and continuation lines.
void GetHeaderValue(std::string_view text, const char* name, std::string& value)
{
    const std::string_view block = UpToNul(text);
    const char* match = FindNoCase(block, name);
    if (match == nullptr) {
        value.clear();
        return;
    }
    const std::size_t start = (match - block.data()) + std::strlen(name);
    std::size_t end = block.find('\n', start);
    while (end != std::string_view::npos && StartsContinuationLine(block, end)) {
        end = block.find('\n', end + 1);
    }
    value.assign(block.substr(start, end - start));  // npos: to the end of the block
}
