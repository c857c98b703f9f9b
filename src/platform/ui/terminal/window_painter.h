// Paints the window manager's windows on the terminal from their records: texts wrapped
// in their cells, check boxes as [x], edit boxes as bracketed fields, buttons in angle
// brackets, the focused control in reverse video and its tooltip on the status line.
// When the windows are taller than the screen they scroll to keep the focus in view.
#ifndef TAGSTRIP_PLATFORM_UI_TERMINAL_WINDOW_PAINTER_H
#define TAGSTRIP_PLATFORM_UI_TERMINAL_WINDOW_PAINTER_H

#include <string>

#include "platform/ui/terminal/cell_layout.h"

class WindowPainter {
public:
    void Paint();

private:
    void PaintTree(HWND window);
    void PaintControl(HWND control, const CellRect& cells);
    void PaintStatic(HWND control, const CellRect& cells);
    void PaintButton(HWND control, const CellRect& cells, bool focused);
    void PaintEdit(HWND control, const CellRect& cells, bool focused);
    void PaintListBox(HWND control, const CellRect& cells, bool focused);
    void PaintStatusLine();
    void ScrollToFocus();

    int scrollRows = 0;
};

// Writes text at a screen row and column, clipped to width and to the screen, with the
// letter after '&' underlined.
void PaintLabel(const std::string& text, int row, int column, int width, int attributes);

#endif
