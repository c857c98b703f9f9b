// Which module the framework takes its dialogs and strings from: the current resource
// module first, then the modules in the resource chain, as the dialog framework does.
#include <gtest/gtest.h>

#include "platform/afxwin.h"
#include "platform/headless/headless_front_end.h"
#include "platform/resource_registry.h"
#include "resources/resource.h"

extern const ResourceScript kModuleResources;

namespace {

const char kScriptRange[] = "Remove Script points must be between 0 and 99,999.";

class ResourceLookupTest : public testing::Test {
protected:
    void SetUp() override { RegisterModuleResources(Plugin(), &kModuleResources); }
    void TearDown() override { UnregisterModuleResources(Plugin()); }

    HMODULE Plugin() { return &pluginModule; }

    HeadlessFrontEnd frontEnd;

private:
    char pluginModule = 0;
};

TEST_F(ResourceLookupTest, StringsAreFoundOnlyInTheModuleNamed)
{
    char text[256];
    EXPECT_EQ(LoadStringA(AfxGetModuleState()->m_hCurrentResourceHandle, IDS_RANGE_SCRIPT, text, sizeof text), 0);
    ASSERT_EQ(LoadStringA(Plugin(), IDS_RANGE_SCRIPT, text, sizeof text), 50);
    EXPECT_STREQ(text, kScriptRange);
    EXPECT_EQ(LoadStringA(Plugin(), IDS_RANGE_SCRIPT, text, 7), 6);
    EXPECT_STREQ(text, "Remove");
}

TEST_F(ResourceLookupTest, MessageBoxFindsItsTextOnlyWhileThePluginIsCurrent)
{
    EXPECT_EQ(AfxMessageBox(IDS_RANGE_SCRIPT, MB_OK), 0);
    EXPECT_TRUE(frontEnd.MessageBoxes().empty());
    {
        AfxResourceModuleSwitch pluginResources(Plugin());
        EXPECT_EQ(AfxMessageBox(IDS_RANGE_SCRIPT, MB_OK), IDOK);
    }
    EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, nullptr);
    EXPECT_EQ(frontEnd.MessageBoxes(), std::vector<std::string>{kScriptRange});
}

TEST_F(ResourceLookupTest, TheResourceChainIsSearchedAfterTheCurrentModule)
{
    AFX_EXTENSION_MODULE extension = {FALSE, nullptr, nullptr};
    ASSERT_TRUE(AfxInitExtensionModule(extension, Plugin()));
    new CDynLinkLibrary(extension);
    EXPECT_EQ(AfxMessageBox(IDS_RANGE_SCRIPT, MB_OK), IDOK);
    AfxTermExtensionModule(extension);
    EXPECT_EQ(AfxMessageBox(IDS_RANGE_SCRIPT, MB_OK), 0);
}

TEST_F(ResourceLookupTest, ADialogIsCreatedOnlyFromAModuleSearched)
{
    CDialog outside;
    EXPECT_FALSE(outside.Create(IDD_CONFIG_PAGE));
    AfxResourceModuleSwitch pluginResources(Plugin());
    CDialog inside;
    EXPECT_TRUE(inside.Create(IDD_CONFIG_PAGE));
    EXPECT_NE(GetDlgItem(inside.m_hWnd, IDC_REMOVE_READ_RECEIPTS), nullptr);
}

}  // namespace
