#include "platform/ui/headless/headless_front_end.h"

#include <cctype>

HeadlessFrontEnd::HeadlessFrontEnd() : previous(CurrentFrontEnd())
{
    SetFrontEnd(this);
}

HeadlessFrontEnd::~HeadlessFrontEnd()
{
    SetFrontEnd(previous);
}

void HeadlessFrontEnd::Press(UINT virtualKey, bool shift, bool alt)
{
    PressKey(KeyPress{virtualKey, shift, alt});
}

void HeadlessFrontEnd::Type(const std::string& text)
{
    for (char character : text) {
        Press(static_cast<UINT>(std::toupper(static_cast<unsigned char>(character))));
    }
}

void HeadlessFrontEnd::Queue(UINT virtualKey, bool shift)
{
    queued.push_back(KeyPress{virtualKey, shift, false});
}

const std::vector<std::string>& HeadlessFrontEnd::MessageBoxes() const
{
    return messageBoxes;
}

void HeadlessFrontEnd::ClearMessageBoxes()
{
    messageBoxes.clear();
}

bool HeadlessFrontEnd::NextKey(KeyPress& key)
{
    if (queued.empty()) {
        return false;
    }
    key = queued.front();
    queued.pop_front();
    return true;
}

int HeadlessFrontEnd::ShowMessageBox(const char* text, const char*, UINT)
{
    messageBoxes.emplace_back(text != nullptr ? text : "");
    return IDOK;
}
