#include "platform/resource_script.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winuser.h"
#include "resources/resource.h"

extern const ResourceScript kModuleResources;

namespace {

const DialogResource& ConfigTemplate()
{
    return kModuleResources.dialogs.rows[0];
}

TEST(ConfigTemplateTest, IsAFixedSizeDisabledChildWithItsFont)
{
    const DialogResource& dialog = ConfigTemplate();
    EXPECT_EQ(dialog.id, static_cast<UINT>(IDD_CONFIG_PAGE));
    EXPECT_EQ(dialog.style, WS_CHILD | WS_DISABLED | DS_SETFONT);
    EXPECT_EQ(dialog.cx, 200);
    EXPECT_EQ(dialog.cy, 200);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_STREQ(dialog.faceName, "MS Sans Serif");
}

TEST(ConfigTemplateTest, HoldsThe39ControlsWithTheirIdsInTabOrder)
{
    const int ids[] = {
        12001, -1, -1, -1, -1, -1, -1,
        -1, 12004, -1, 12008, -1, 12005, -1, 12009, -1, 12006, -1, 12010,
        -1, 12015, -1, 12014, -1, 12013, -1, 12012, -1, 12016, -1, 12017,
        -1, 12018, -1, 12019, -1, 12020, -1, 12021,
    };
    const auto& items = ConfigTemplate().items;
    ASSERT_EQ(items.count, 39u);
    for (std::size_t index = 0; index < items.count; ++index) {
        EXPECT_EQ(items.rows[index].id, ids[index]) << "control " << index + 1;
    }
}

struct ItemRow {
    std::size_t number;
    ControlClass controlClass;
    const char* text;
    int x, y, cx, cy;
};

TEST(ConfigTemplateTest, PlacesControlsAsDesigned)
{
    const ItemRow rows[] = {
        {1, ControlButton, "&Active", 6, 7, 36, 10},
        {3, ControlStatic, "", 6, 20, 20, 20},
        {5, ControlStatic, "Check 'Remove from e-mail' to have the program modify the message before it goes to your InBox.  The original untouched message will be stored in the spam viewer.", 45, 39, 148, 33},
        {12, ControlStatic, "HTML &Formatting", 6, 100, 56, 8},
        {23, ControlButton, "", 156, 126, 11, 10},
        {34, ControlStatic, "Default: 100", 91, 170, 39, 8},
        {37, ControlEdit, "", 64, 181, 26, 12},
    };
    for (const ItemRow& row : rows) {
        const DialogItem& item = ConfigTemplate().items.rows[row.number - 1];
        EXPECT_EQ(item.controlClass, row.controlClass) << row.number;
        EXPECT_STREQ(item.text, row.text) << row.number;
        EXPECT_EQ(std::vector<int>({item.x, item.y, item.cx, item.cy}),
                  std::vector<int>({row.x, row.y, row.cx, row.cy})) << row.number;
    }
}

TEST(ConfigTemplateTest, EveryKindOfControlHasItsStyle)
{
    for (const DialogItem& item : ConfigTemplate().items) {
        EXPECT_NE(item.style & WS_VISIBLE, 0u);
        switch (item.controlClass) {
        case ControlButton:
            EXPECT_EQ(item.style & (BS_TYPEMASK | WS_TABSTOP), BS_AUTOCHECKBOX | WS_TABSTOP);
            break;
        case ControlEdit:
            EXPECT_EQ(item.style & (ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
                      ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP);
            break;
        case ControlStatic:
            EXPECT_EQ(item.style & WS_TABSTOP, 0u);
            EXPECT_TRUE((item.style & SS_TYPEMASK) == SS_ICON ? item.iconId == IDI_ANALYZER
                                                                : (item.style & WS_GROUP) != 0);
            break;
        case ControlListBox:
            ADD_FAILURE() << "no list box on the page";
            break;
        }
    }
}

TEST(ModuleResourcesTest, AcceleratorsMapTheFourKeysToThePagesCommands)
{
    const ACCEL expected[] = {
        {FVIRTKEY | FNOINVERT, VK_ESCAPE, 32771},
        {FVIRTKEY | FNOINVERT, VK_RETURN, 32772},
        {FVIRTKEY | FNOINVERT, VK_TAB, 32773},
        {FVIRTKEY | FSHIFT | FNOINVERT, VK_TAB, 32774},
    };
    const AcceleratorResource& table = kModuleResources.accelerators.rows[0];
    EXPECT_EQ(table.id, 12001u);
    ASSERT_EQ(table.entries.count, 4u);
    for (std::size_t index = 0; index < 4; ++index) {
        EXPECT_EQ(table.entries.rows[index].fVirt, expected[index].fVirt);
        EXPECT_EQ(table.entries.rows[index].key, expected[index].key);
        EXPECT_EQ(table.entries.rows[index].cmd, expected[index].cmd);
    }
}

TEST(ModuleResourcesTest, VersionIs2006ForAUsEnglishDll)
{
    const VersionResource& version = *kModuleResources.version;
    EXPECT_EQ(std::vector<WORD>(version.fileVersion, version.fileVersion + 4),
              (std::vector<WORD>{2, 0, 0, 6}));
    EXPECT_STREQ(version.fileVersionText, "2, 0, 0, 6");
    EXPECT_STREQ(version.productVersionText, "2, 0, 0, 6");
    EXPECT_EQ(version.fileType, FileTypeDll);
    EXPECT_STREQ(version.stringBlock, "040904b0");
}

TEST(ModuleResourcesTest, IconRowsAreOfOneWidth)
{
    const IconResource& icon = kModuleResources.icons.rows[0];
    EXPECT_EQ(icon.id, 12000u);
    ASSERT_GT(icon.pixels.count, 0u);
    for (const char* row : icon.pixels) {
        EXPECT_EQ(std::strlen(row), std::strlen(icon.pixels.rows[0]));
    }
}

}  // namespace
