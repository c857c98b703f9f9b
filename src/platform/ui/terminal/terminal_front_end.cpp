#include "platform/ui/terminal/terminal_front_end.h"

#include <curses.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace {

constexpr int kEscape = 27;
constexpr int kAltDelayMilliseconds = 30;
constexpr int kMessageBoxWidth = 50;

struct KeyRow {
    int terminalKey;
    UINT virtualKey;
    bool shift;
};

const KeyRow kKeys[] = {
    {'\t', VK_TAB, false},
    {KEY_BTAB, VK_TAB, true},
    {'\n', VK_RETURN, false},
    {'\r', VK_RETURN, false},
    {KEY_ENTER, VK_RETURN, false},
    {' ', VK_SPACE, false},
    {KEY_BACKSPACE, VK_BACK, false},
    {127, VK_BACK, false},
    {'\b', VK_BACK, false},
    {KEY_LEFT, VK_LEFT, false},
    {KEY_RIGHT, VK_RIGHT, false},
    {KEY_UP, VK_UP, false},
    {KEY_DOWN, VK_DOWN, false},
};

bool KeyOfLetterOrDigit(int character, KeyPress& key)
{
    if (character < 0 || character > 255 || !std::isalnum(character)) {
        return false;
    }
    key.virtualKey = static_cast<UINT>(std::toupper(character));
    key.shift = std::isupper(character) != 0;
    return true;
}

bool Translate(int character, KeyPress& key)
{
    key = KeyPress{0, false, false};
    for (const KeyRow& row : kKeys) {
        if (row.terminalKey == character) {
            key.virtualKey = row.virtualKey;
            key.shift = row.shift;
            return true;
        }
    }
    return KeyOfLetterOrDigit(character, key);
}

// Escape alone, or Escape followed at once by a letter: the terminal's Alt+letter.
KeyPress ReadEscape()
{
    timeout(kAltDelayMilliseconds);
    const int next = getch();
    timeout(-1);
    KeyPress key{VK_ESCAPE, false, false};
    if (next != ERR && KeyOfLetterOrDigit(next, key)) {
        key.alt = true;
        key.shift = false;
    }
    return key;
}

// Drawn in plain characters, which every terminal and every screen capture shows alike.
void DrawBox(int top, int left, int height, int width)
{
    for (int row = top; row < top + height; ++row) {
        mvhline(row, left, ' ', width);
        mvaddch(row, left, '|');
        mvaddch(row, left + width - 1, '|');
    }
    for (int row : {top, top + height - 1}) {
        mvhline(row, left + 1, '-', width - 2);
        mvaddch(row, left, '+');
        mvaddch(row, left + width - 1, '+');
    }
}

}  // namespace

std::unique_ptr<TerminalFrontEnd> TerminalFrontEnd::Open(std::string& error)
{
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
        error = "the settings window needs a terminal";
        return nullptr;
    }
    set_escdelay(kAltDelayMilliseconds);
    SCREEN* screen = newterm(nullptr, stdout, stdin);
    if (screen == nullptr) {
        error = "the terminal type is unknown";
        return nullptr;
    }
    return std::unique_ptr<TerminalFrontEnd>(new TerminalFrontEnd(screen));
}

TerminalFrontEnd::TerminalFrontEnd(SCREEN* terminal) : terminal(terminal), previous(CurrentFrontEnd())
{
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    curs_set(0);
    SetFrontEnd(this);
}

TerminalFrontEnd::~TerminalFrontEnd()
{
    SetFrontEnd(previous);
    endwin();
    delscreen(terminal);
}

bool TerminalFrontEnd::NextKey(KeyPress& key)
{
    for (;;) {
        painter.Paint();
        const int character = getch();
        if (character == ERR) {
            return false;
        }
        if (character == kEscape) {
            key = ReadEscape();
            return true;
        }
        if (Translate(character, key)) {
            return true;
        }
    }
}

int TerminalFrontEnd::ShowMessageBox(const char* text, const char* caption, UINT)
{
    painter.Paint();
    const int width = std::min(kMessageBoxWidth, COLS);
    const std::vector<std::string> lines = WrapText(text != nullptr ? text : "", width - 4);
    const int height = static_cast<int>(lines.size()) + 4;
    const int top = std::max(0, (LINES - height) / 2);
    const int left = std::max(0, (COLS - width) / 2);
    DrawBox(top, left, height, width);
    PaintLabel(caption != nullptr ? caption : "", top, left + 2, width - 4, A_BOLD);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        PaintLabel(lines[line], top + 1 + static_cast<int>(line), left + 2, width - 4, A_NORMAL);
    }
    PaintLabel("< OK >", top + height - 2, left + (width - 6) / 2, 6, A_REVERSE);
    refresh();
    for (;;) {
        const int character = getch();
        if (character == ERR || character == '\n' || character == '\r' || character == ' ' ||
            character == kEscape || character == KEY_ENTER) {
            return IDOK;
        }
    }
}
