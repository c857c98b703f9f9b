// The framework's dialog: data exchange failures and window destruction.
#include <gtest/gtest.h>

#include "platform/ui/afxwin.h"
#include "platform/ui/headless/headless_front_end.h"
#include "platform/kernel/resource_registry.h"

namespace {

constexpr UINT kTemplate = 7;
constexpr int kCountEdit = 10;
constexpr int kApplyButton = 11;
constexpr int kMissing = 99;

const DialogItem kItems[] = {
    {kCountEdit, ControlEdit, "", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, 0, 30, 12},
    {kApplyButton, ControlButton, "&Apply", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 20, 40, 14},
};
const DialogResource kDialogs[] = {
    {kTemplate, WS_VISIBLE, 0, 0, 100, 50, 8, "MS Sans Serif", "Test", RowsOf(kItems)},
};
const ResourceScript kResources = {"dialog_tests", {nullptr, 0}, RowsOf(kDialogs), {nullptr, 0},
                                   {nullptr, 0}, nullptr};

class CountDialog : public CDialog {
public:
    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Text(exchange, kCountEdit, count);
        DDX_Text(exchange, kMissing, count);
    }

    int count = 5;
};

class DialogManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterModuleResources(nullptr, &kResources);
        ASSERT_TRUE(dialog.Create(kTemplate));
    }
    void TearDown() override { UnregisterModuleResources(nullptr); }

    HeadlessFrontEnd frontEnd;
    CountDialog dialog;
};

TEST_F(DialogManagerTest, ATextThatIsNoNumberFailsTheExchangeAndKeepsTheValue)
{
    SetDlgItemTextA(dialog.m_hWnd, kCountEdit, "4x");
    frontEnd.Press(VK_TAB);
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.count, 5);
    EXPECT_EQ(frontEnd.MessageBoxes(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kCountEdit);

    SetDlgItemTextA(dialog.m_hWnd, kCountEdit, " -12 ");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.count, -12);
}

TEST_F(DialogManagerTest, DestroyingTheDialogDetachesItAndItsControls)
{
    HWND edit = GetDlgItem(dialog.m_hWnd, kCountEdit);
    CWnd* editObject = CWnd::FromHandle(edit);
    ASSERT_EQ(editObject->m_hWnd, edit);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

}  // namespace
