#include "platform/kernel/resource_script.h"

#include <cstring>

#include <gtest/gtest.h>

#include "platform/ui/winuser.h"
#include "resources/resource.h"

extern const ResourceScript kModuleResources;

namespace {

TEST(ConfigTemplateTest, EveryKindOfControlHasItsStyle)
{
    for (const DialogItem& item : kModuleResources.dialogs.rows[0].items) {
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
