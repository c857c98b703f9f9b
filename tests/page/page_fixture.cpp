#include "tests/page/page_fixture.h"

#include "platform/kernel/resource_registry.h"
#include "plugin/current_instance.h"
#include "plugin/entry_points.h"
#include "tests/common/module_handle.h"

extern const ResourceScript kModuleResources;

namespace {

constexpr UINT kContainerTemplate = 100;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

const DialogItem kContainerItems[] = {
    {kControlBeforePage, ControlButton, "Before", 0, kButton, 0, 0, 40, 14},
    {kControlAfterPage, ControlButton, "After", 0, kButton, 0, 210, 40, 14},
};

const DialogResource kContainerDialogs[] = {
    {kContainerTemplate, WS_VISIBLE, 0, 0, 220, 230, 8, "MS Sans Serif", "Test host",
     RowsOf(kContainerItems)},
};

// The test program's own resources, registered under the executable's null handle.
const ResourceScript kHostResources = {"page_tests", {nullptr, 0}, RowsOf(kContainerDialogs),
                                       {nullptr, 0}, {nullptr, 0}, nullptr};

}  // namespace

TestContainer::TestContainer(bool namesNeighbours) : namesNeighbours(namesNeighbours)
{
    Create(kContainerTemplate);
}

void TestContainer::SetPage(CDialog* newPage)
{
    page.reset(newPage);
}

CDialog* TestContainer::GetPage() const
{
    return page.get();
}

CWnd* TestContainer::GetControlBeforePage()
{
    return namesNeighbours ? GetDlgItem(kControlBeforePage) : nullptr;
}

CWnd* TestContainer::GetControlAfterPage()
{
    return namesNeighbours ? GetDlgItem(kControlAfterPage) : nullptr;
}

void TestContainer::OnOK()
{
    ++okCount;
}

void TestContainer::OnCancel()
{
    ++cancelCount;
}

void PageTest::SetUp()
{
    RegisterModuleResources(nullptr, &kHostResources);
    RegisterModuleResources(PlatformLibrary(), &kModuleResources);
    ASSERT_TRUE(DllMain(PlatformLibrary(), DLL_PROCESS_ATTACH, nullptr));
    instance = InitAnalyzer(directory.path.c_str(), directory.path.c_str());
    ASSERT_NE(instance, nullptr);
}

void PageTest::TearDown()
{
    container.reset();
    UnInitAnalyzer(instance);
    DllMain(PlatformLibrary(), DLL_PROCESS_DETACH, nullptr);
    UnregisterModuleResources(PlatformLibrary());
    UnregisterModuleResources(nullptr);
}

ConfigPage* PageTest::OpenPage(bool namesNeighbours)
{
    container = std::make_unique<TestContainer>(namesNeighbours);
    page = static_cast<ConfigPage*>(GetAnalyzerConfigPage(instance, container.get()));
    container->SetPage(page);
    page->EnableWindow(TRUE);
    page->ShowWindow(SW_SHOW);
    return page;
}

void PageTest::SetPoints(int controlId, const char* text)
{
    SetDlgItemTextA(page->m_hWnd, controlId, text);
}

void PageTest::SetChecked(int controlId, bool checked)
{
    CheckDlgButton(page->m_hWnd, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

void PageTest::Focus(int controlId)
{
    page->GetDlgItem(controlId)->SetFocus();
}

int PageTest::FocusId() const
{
    return GetFocus() != nullptr ? GetDlgCtrlID(GetFocus()) : 0;
}
