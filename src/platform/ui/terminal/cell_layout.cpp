#include "platform/ui/terminal/cell_layout.h"

#include <algorithm>

namespace {

constexpr int kUnitsPerFiveColumns = 16;
constexpr int kUnitsPerRow = 8;
constexpr int kLineHeight = 12;

int Columns(int units)
{
    return units * 5 / kUnitsPerFiveColumns;
}

}  // namespace

CellRect CellsOf(const WindowRecord& window)
{
    const int firstLineMiddle = window.y + std::min(window.cy, kLineHeight) / 2;
    return CellRect{(firstLineMiddle + 1) / kUnitsPerRow, Columns(window.x),
                    std::max(1, window.cy / kUnitsPerRow), std::max(1, Columns(window.cx))};
}

CellRect ScreenCellsOf(HWND window)
{
    CellRect cells = CellsOf(*window);
    for (HWND parent = window->parent; parent != nullptr; parent = parent->parent) {
        const CellRect origin = CellsOf(*parent);
        cells.row += origin.row;
        cells.column += origin.column;
    }
    return cells;
}

std::vector<std::string> WrapText(const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t limit = static_cast<std::size_t>(std::max(1, width));
    while (start < text.size()) {
        if (text.size() - start <= limit) {
            lines.push_back(text.substr(start));
            break;
        }
        std::size_t end = text.rfind(' ', start + limit);
        if (end == std::string::npos || end <= start) {
            end = start + limit;
        }
        lines.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(' ', end);
        if (start == std::string::npos) {
            break;
        }
    }
    return lines;
}
