// The dialog layer on a real terminal (ncurses): windows painted from their templates,
// keys read from the terminal and handed on as key-down messages, message boxes modal.
#ifndef TAGSTRIP_PLATFORM_UI_TERMINAL_TERMINAL_FRONT_END_H
#define TAGSTRIP_PLATFORM_UI_TERMINAL_TERMINAL_FRONT_END_H

#include <memory>
#include <string>

#include "platform/ui/front_end.h"
#include "platform/ui/terminal/window_painter.h"

struct screen;

class TerminalFrontEnd : public FrontEnd {
public:
    // Takes over the terminal and installs itself; null with error set when the program
    // does not run on a terminal.
    static std::unique_ptr<TerminalFrontEnd> Open(std::string& error);
    ~TerminalFrontEnd() override;
    TerminalFrontEnd(const TerminalFrontEnd&) = delete;
    TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;

    bool NextKey(KeyPress& key) override;
    int ShowMessageBox(const char* text, const char* caption, UINT type) override;

private:
    explicit TerminalFrontEnd(screen* terminal);

    screen* terminal;
    FrontEnd* previous;
    WindowPainter painter;
};

#endif
