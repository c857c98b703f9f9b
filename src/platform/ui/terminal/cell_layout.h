// Where a window lands on a terminal. Dialog units become character cells: 16 horizontal
// units make 5 columns, 8 vertical units make a row. A control sits on the row that holds
// the middle of its first text line, so that a label, an edit box and a check box of one
// template row share a cell row although their heights differ.
#ifndef TAGSTRIP_PLATFORM_UI_TERMINAL_CELL_LAYOUT_H
#define TAGSTRIP_PLATFORM_UI_TERMINAL_CELL_LAYOUT_H

#include <string>
#include <vector>

#include "platform/ui/window_record.h"

struct CellRect {
    int row;
    int column;
    int rows;
    int columns;
};

// The window's cells relative to its parent's first cell.
CellRect CellsOf(const WindowRecord& window);

// The window's cells on the whole screen, before scrolling.
CellRect ScreenCellsOf(HWND window);

// Text cut into lines of at most width characters, broken between words where it can.
std::vector<std::string> WrapText(const std::string& text, int width);

#endif
