#include "platform/ui/terminal/window_painter.h"

#include <curses.h>

#include <algorithm>

#include "platform/ui/front_end.h"

namespace {

int StatusRow()
{
    return LINES - 1;
}

// The topmost screen row that a visible control takes, or limit when none lies above it.
int FirstUsedRow(HWND window, int limit)
{
    for (HWND child : window->children) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        limit = child->windowClass == WindowDialog ? FirstUsedRow(child, limit)
                                                   : std::min(limit, ScreenCellsOf(child).row);
    }
    return limit;
}

// A field one cell narrower than its control, so that it never runs into a neighbour
// placed right against it.
void PaintField(const std::string& text, int row, int column, int width, int attributes)
{
    const std::size_t inner = static_cast<std::size_t>(std::max(0, width - 3));
    const std::string shown = text.size() > inner ? text.substr(text.size() - inner)
                                                  : text + std::string(inner - text.size(), ' ');
    mvaddch(row, column, '[');
    attron(attributes);
    addnstr(shown.c_str(), static_cast<int>(inner));
    attroff(attributes);
    addch(']');
}

}  // namespace

void PaintLabel(const std::string& text, int row, int column, int width, int attributes)
{
    if (row < 0 || row >= StatusRow()) {
        return;
    }
    move(row, column);
    int written = 0;
    for (std::size_t index = 0; index < text.size() && written < width && column + written < COLS; ++index) {
        const bool mnemonic = text[index] == '&' && index + 1 < text.size();
        if (mnemonic) {
            ++index;
        }
        addch(static_cast<unsigned char>(text[index]) | attributes | (mnemonic ? A_UNDERLINE : 0));
        ++written;
    }
}

void WindowPainter::Paint()
{
    erase();
    ScrollToFocus();
    for (HWND window : TopLevelWindows()) {
        if (IsWindowVisible(window)) {
            PaintTree(window);
        }
    }
    PaintStatusLine();
    refresh();
}

void WindowPainter::PaintTree(HWND window)
{
    for (HWND child : window->children) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        CellRect cells = ScreenCellsOf(child);
        cells.row -= scrollRows;
        if (child->windowClass == WindowDialog) {
            PaintTree(child);
        } else {
            PaintControl(child, cells);
        }
    }
}

void WindowPainter::PaintControl(HWND control, const CellRect& cells)
{
    const bool focused = control == GetFocus();
    switch (control->windowClass) {
    case WindowStatic:
        PaintStatic(control, cells);
        break;
    case WindowButton:
        PaintButton(control, cells, focused);
        break;
    case WindowEdit:
        PaintEdit(control, cells, focused);
        break;
    case WindowListBox:
        PaintListBox(control, cells, focused);
        break;
    case WindowDialog:
        break;
    }
}

void WindowPainter::PaintStatic(HWND control, const CellRect& cells)
{
    const bool icon = (control->style & SS_TYPEMASK) == SS_ICON;
    std::vector<std::string> lines;
    if (icon && control->icon != nullptr) {
        lines.assign(control->icon->pixels.begin(), control->icon->pixels.end());
    } else if (!icon) {
        lines = WrapText(control->text, cells.columns);
    }
    const int shown = std::min<int>(static_cast<int>(lines.size()), cells.rows);
    for (int line = 0; line < shown; ++line) {
        PaintLabel(lines[line], cells.row + line, cells.column, cells.columns, icon ? A_BOLD : A_NORMAL);
    }
}

void WindowPainter::PaintButton(HWND control, const CellRect& cells, bool focused)
{
    const int attributes = focused ? A_REVERSE : A_NORMAL;
    if ((control->style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        const std::string box = control->check == BST_CHECKED ? "[x]" : "[ ]";
        PaintLabel(control->text.empty() ? box : box + " " + control->text, cells.row, cells.column,
                   std::max(cells.columns, 3), attributes);
        return;
    }
    std::string face = "< " + control->text + " >";
    const int padding = std::max(0, cells.columns - static_cast<int>(face.size())) / 2;
    PaintLabel(std::string(padding, ' ') + face, cells.row, cells.column, cells.columns, attributes);
}

void WindowPainter::PaintEdit(HWND control, const CellRect& cells, bool focused)
{
    if (cells.row < 0 || cells.row >= StatusRow()) {
        return;
    }
    const int selected = control->textSelected && focused ? A_REVERSE : A_UNDERLINE;
    PaintField(control->text, cells.row, cells.column, cells.columns,
               focused ? selected | A_BOLD : A_UNDERLINE);
    if (focused && !control->textSelected) {
        attron(A_REVERSE);
        mvaddch(cells.row, cells.column + std::min<int>(control->text.size() + 1, cells.columns - 3), ' ');
        attroff(A_REVERSE);
    }
}

void WindowPainter::PaintListBox(HWND control, const CellRect& cells, bool focused)
{
    for (int line = 0; line < cells.rows; ++line) {
        const bool hasItem = line < static_cast<int>(control->items.size());
        const bool selected = hasItem && line == control->selection;
        const std::string item = hasItem ? control->items[line] : "";
        const std::string padded = item + std::string(std::max(0, cells.columns - static_cast<int>(item.size())), ' ');
        PaintLabel(padded, cells.row + line, cells.column, cells.columns,
                   selected && focused ? A_REVERSE : selected ? A_BOLD : A_NORMAL);
    }
}

void WindowPainter::PaintStatusLine()
{
    HWND focus = GetFocus();
    CString tip = focus != nullptr ? ToolTipText(focus) : CString();
    if (tip.IsEmpty() && ActiveWindow() != nullptr) {
        tip = ActiveWindow()->text.c_str();
    }
    attron(A_REVERSE);
    mvhline(StatusRow(), 0, ' ', COLS);
    mvaddnstr(StatusRow(), 1, tip, COLS - 2);
    attroff(A_REVERSE);
}

// Starts at the first row in use; scrolls further only to bring the focus into view.
void WindowPainter::ScrollToFocus()
{
    scrollRows = StatusRow();
    for (HWND window : TopLevelWindows()) {
        scrollRows = FirstUsedRow(window, scrollRows);
    }
    if (GetFocus() == nullptr) {
        return;
    }
    const int focusRow = ScreenCellsOf(GetFocus()).row;
    if (focusRow < scrollRows) {
        scrollRows = focusRow;
    } else if (focusRow >= scrollRows + StatusRow()) {
        scrollRows = focusRow - StatusRow() + 1;
    }
}
