// A front end without a screen, for tests: keys are pressed by the test (at once) or
// queued for a modal loop, and message boxes are recorded and answered with OK.
#ifndef TAGSTRIP_PLATFORM_UI_HEADLESS_HEADLESS_FRONT_END_H
#define TAGSTRIP_PLATFORM_UI_HEADLESS_HEADLESS_FRONT_END_H

#include <deque>
#include <string>
#include <vector>

#include "platform/ui/front_end.h"

class HeadlessFrontEnd : public FrontEnd {
public:
    // Installs itself as the front end until destroyed.
    HeadlessFrontEnd();
    ~HeadlessFrontEnd() override;

    void Press(UINT virtualKey, bool shift = false, bool alt = false);
    // Presses the key of each digit or letter of text.
    void Type(const std::string& text);
    void Queue(UINT virtualKey, bool shift = false);

    const std::vector<std::string>& MessageBoxes() const;
    void ClearMessageBoxes();

    bool NextKey(KeyPress& key) override;
    int ShowMessageBox(const char* text, const char* caption, UINT type) override;

private:
    FrontEnd* previous;
    std::deque<KeyPress> queued;
    std::vector<std::string> messageBoxes;
};

#endif
