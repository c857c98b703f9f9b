#include <cstring>

#include "fuzz/reference/find_no_case.h"
#include "fuzz/reference/mime_walker.h"

namespace reference {

namespace {

// A line that begins with a blank continues the header above it.
bool StartsContinuationLine(const std::string& block, std::size_t lineFeed)
{
    return lineFeed + 1 < block.size() && (block[lineFeed + 1] == ' ' || block[lineFeed + 1] == '\t');
}

}  // namespace

// The first match anywhere counts, even inside a longer header name; the value stays raw,
// with its leading blank, carriage returns and continuation lines.
void GetHeaderValue(const std::string& block, const char* name, std::string& value)
{
    const char* match = FindNoCase(block.c_str(), name);
    if (match == nullptr) {
        value.clear();
        return;
    }
    const std::size_t start = (match - block.c_str()) + std::strlen(name);
    std::size_t end = block.find('\n', start);
    while (end != std::string::npos && StartsContinuationLine(block, end)) {
        end = block.find('\n', end + 1);
    }
    value.assign(block, start, end - start);  // npos: to the end of the block
}

}  // namespace reference
