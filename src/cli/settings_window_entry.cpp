#include "cli/settings_window_entry.h"

#include <exception>
#include <memory>

#include "cli/settings_window.h"
#include "platform/ui/terminal/terminal_front_end.h"

// The page comes from the chosen analyzer's module; the window deletes it through its
// virtual destructor.
extern "C" bool TagstripShowSettingsWindow(const SettingsWindowRequest& request, std::string& error)
{
    try {
        std::unique_ptr<TerminalFrontEnd> terminal = TerminalFrontEnd::Open(error);
        if (terminal == nullptr) {
            return false;
        }
        SettingsWindow window;
        for (const std::string& name : request.analyzerNames) {
            window.AddAnalyzer(name.c_str());
        }
        window.SetPage(request.makePage(&window));
        window.GetControlBeforePage()->SetFocus();
        window.RunModalLoop();
        return true;
    } catch (const std::exception& failure) {
        error = std::string("the settings window failed: ") + failure.what();
        return false;
    }
}
