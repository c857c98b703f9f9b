#include "analysis/filter_engine.h"
#include "common/find_no_case.h"
#include "common/string_helpers.h"
#include "html/tag_scanner.h"

namespace {

const char kReadReceiptHeader[] = "Disposition-Notification-To:";

// Where the read-receipt header begins in a header block, or npos. Only the first
// occurrence is looked at, and it counts only at the start of a line.
std::size_t FindReadReceiptLine(std::string_view block)
{
    const char* match = FindNoCase(UpToNul(block), kReadReceiptHeader);
    if (match == nullptr) {
        return std::string_view::npos;
    }
    const std::size_t position = match - block.data();
    return position == 0 || block[position - 1] == '\n' ? position : std::string_view::npos;
}

}  // namespace

// Removal takes out the one physical line: folded continuation lines stay.
void FilterEngine::WriteHeaderBlock(std::string_view block)
{
    const std::size_t lineStart = FindReadReceiptLine(block);
    if (lineStart != std::string_view::npos) {
        found[CategoryReadReceipts] = true;
    }
    if (lineStart == std::string_view::npos || !remove[CategoryReadReceipts]) {
        output->Append(block);
        return;
    }
    output->Append(block.data(), lineStart);
    const std::size_t lineFeed = block.find('\n', lineStart);
    if (lineFeed != std::string_view::npos) {
        output->Append(block.data() + lineFeed + 1, block.size() - lineFeed - 1);
    }
}

// Each HTML body gets a scanner of its own; nothing of one part's scan reaches the next.
void FilterEngine::WriteBody(std::string_view body, bool isHtml)
{
    if (!isHtml) {
        output->Append(body);
        return;
    }
    TagScanner scanner;
    scanner.Run(body, this);
    output->Append("\r\n\r\n", 4);
}
