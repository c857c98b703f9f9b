// The host's settings window: the list of analyzers on the left, the analyzer's own page
// beside it, and OK and Cancel. OK asks the page to validate and, when nothing is wrong,
// to save; Cancel or Escape closes without saving. Tab runs from the list into the page,
// from the page's last control to OK and Cancel, and round again.
#ifndef TAGSTRIP_CLI_SETTINGS_WINDOW_H
#define TAGSTRIP_CLI_SETTINGS_WINDOW_H

#include <memory>

#include "page/analyzer_container.h"

class AnalyzerPage;

constexpr int kAnalyzerList = 1000;

class SettingsWindow : public AnalyzerContainer {
public:
    // Creates the window from the host's own template.
    SettingsWindow();
    ~SettingsWindow() override;

    BOOL PreTranslateMessage(MSG* message) override;
    void OnOK() override;
    void OnCancel() override;
    void SetPage(CDialog* page) override;
    CDialog* GetPage() const override;
    CWnd* GetControlBeforePage() override;
    CWnd* GetControlAfterPage() override;

    void AddAnalyzer(const char* name);

private:
    AnalyzerPage* Page() const;
    CWnd* NextStop(int fromId, bool backwards) const;

    std::unique_ptr<CDialog> page;
};

#endif
