// The settings window lives in a library of its own, which only "tagstrip config" loads,
// so that no other command pays for loading the terminal libraries at start-up.
#ifndef TAGSTRIP_CLI_SETTINGS_WINDOW_ENTRY_H
#define TAGSTRIP_CLI_SETTINGS_WINDOW_ENTRY_H

#include <functional>
#include <string>
#include <vector>

class AnalyzerContainer;
class CDialog;

constexpr const char* kSettingsWindowLibrary = "libtagstrip-settings-window.so";
constexpr const char* kShowSettingsWindow = "TagstripShowSettingsWindow";

struct SettingsWindowRequest {
    std::vector<std::string> analyzerNames;
    // Makes the chosen analyzer's page as a child of the window.
    std::function<CDialog*(AnalyzerContainer* window)> makePage;
};

// Shows the window until it is closed. False with error set when the terminal cannot be
// opened or anything else fails.
using ShowSettingsWindowFunction = bool (*)(const SettingsWindowRequest& request, std::string& error);

extern "C" bool TagstripShowSettingsWindow(const SettingsWindowRequest& request, std::string& error);

#endif
