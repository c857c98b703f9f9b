// A host for the configuration page in tests: the module attached by hand (the platform
// library standing in for it), an analyzer instance with its ini file in a scratch
// directory, a container window with one host control before and one after the page,
// and the headless front end.
#ifndef TAGSTRIP_TESTS_PAGE_PAGE_FIXTURE_H
#define TAGSTRIP_TESTS_PAGE_PAGE_FIXTURE_H

#include <memory>

#include <gtest/gtest.h>

#include "page/analyzer_container.h"
#include "page/config_page.h"
#include "platform/ui/headless/headless_front_end.h"
#include "plugin/analyzer_instance.h"
#include "tests/common/temp_directory.h"

constexpr int kControlBeforePage = 101;
constexpr int kControlAfterPage = 102;

class TestContainer : public AnalyzerContainer {
public:
    explicit TestContainer(bool namesNeighbours);

    void SetPage(CDialog* page) override;
    CDialog* GetPage() const override;
    CWnd* GetControlBeforePage() override;
    CWnd* GetControlAfterPage() override;
    void OnOK() override;
    void OnCancel() override;

    int okCount = 0;
    int cancelCount = 0;

private:
    bool namesNeighbours;
    std::unique_ptr<CDialog> page;
};

class PageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the page through the module's entry point, in a container that names host
    // controls around the page or none.
    ConfigPage* OpenPage(bool namesNeighbours = true);
    void SetPoints(int controlId, const char* text);
    void SetChecked(int controlId, bool checked);
    void Focus(int controlId);
    int FocusId() const;

    TempDirectory directory;
    HeadlessFrontEnd frontEnd;
    AnalyzerInstance* instance = nullptr;
    std::unique_ptr<TestContainer> container;
    ConfigPage* page = nullptr;
};

#endif
