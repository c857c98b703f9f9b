// The analyzer module's resource script: icon, configuration page, accelerators, strings
// and version. The loader entry registers kModuleResources under the module's handle.
#include "platform/kernel/resource_script.h"
#include "platform/ui/winuser.h"
#include "resources/resource.h"
#include "tagstrip/version.h"

extern const ResourceScript kModuleResources;

namespace {

constexpr DWORD kCheckBox = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kNumberEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr DWORD kIcon = WS_CHILD | WS_VISIBLE | SS_ICON;

// Scissors cutting a tag.
const char* const kAnalyzerIconPixels[] = {
    " </> ",
    "-8<--",
};

const IconResource kIcons[] = {
    {IDI_ANALYZER, RowsOf(kAnalyzerIconPixels)},
};

const DialogItem kConfigPageItems[] = {
    {IDC_ACTIVE, ControlButton, "&Active", 0, kCheckBox, 6, 7, 36, 10},
    {IDC_STATIC, ControlStatic, "Removes HTML and lets you assign spam points to certain types of HTML.", 0, kText, 45, 7, 148, 20},
    {IDC_STATIC, ControlStatic, "", IDI_ANALYZER, kIcon, 6, 20, 20, 20},
    {IDC_STATIC, ControlStatic, "Set points to 0 to remove from spam analysis.", 0, kText, 45, 26, 148, 13},
    {IDC_STATIC, ControlStatic, "Check 'Remove from e-mail' to have the program modify the message before it goes to your InBox.  The original untouched message will be stored in the spam viewer.", 0, kText, 45, 39, 148, 33},
    {IDC_STATIC, ControlStatic, "Points", 0, kText, 65, 73, 27, 8},
    {IDC_STATIC, ControlStatic, "Remove from e-mail", 0, kText, 127, 73, 66, 8},
    {IDC_STATIC, ControlStatic, "&Script", 0, kText, 6, 86, 53, 8},
    {IDC_POINTS_SCRIPT, ControlEdit, "", 0, kNumberEdit, 64, 83, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 50", 0, kText, 91, 86, 41, 8},
    {IDC_REMOVE_SCRIPT, ControlButton, "", 0, kCheckBox, 156, 84, 12, 10},
    {IDC_STATIC, ControlStatic, "HTML &Formatting", 0, kText, 6, 100, 56, 8},
    {IDC_POINTS_FORMATTING, ControlEdit, "", 0, kNumberEdit, 64, 97, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 10", 0, kText, 91, 100, 39, 8},
    {IDC_REMOVE_FORMATTING, ControlButton, "", 0, kCheckBox, 156, 98, 12, 10},
    {IDC_STATIC, ControlStatic, "&Links", 0, kText, 6, 114, 53, 8},
    {IDC_POINTS_LINKS, ControlEdit, "", 0, kNumberEdit, 64, 111, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 10", 0, kText, 91, 114, 39, 8},
    {IDC_REMOVE_LINKS, ControlButton, "", 0, kCheckBox, 156, 112, 10, 10},
    {IDC_STATIC, ControlStatic, "&External images", 0, kText, 6, 128, 53, 8},
    {IDC_POINTS_IMAGES_EXT, ControlEdit, "", 0, kNumberEdit, 64, 125, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 60", 0, kText, 91, 128, 39, 8},
    {IDC_REMOVE_IMAGES_EXT, ControlButton, "", 0, kCheckBox, 156, 126, 11, 10},
    {IDC_STATIC, ControlStatic, "&Internal images", 0, kText, 6, 142, 53, 8},
    {IDC_POINTS_IMAGES_INT, ControlEdit, "", 0, kNumberEdit, 64, 139, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 60", 0, kText, 91, 142, 39, 8},
    {IDC_REMOVE_IMAGES_INT, ControlButton, "", 0, kCheckBox, 156, 140, 10, 10},
    {IDC_STATIC, ControlStatic, "External &Refs", 0, kText, 6, 156, 53, 8},
    {IDC_POINTS_EXTERNAL_REFS, ControlEdit, "", 0, kNumberEdit, 64, 153, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 60", 0, kText, 91, 156, 39, 8},
    {IDC_REMOVE_EXTERNAL_REFS, ControlButton, "", 0, kCheckBox, 156, 154, 10, 10},
    {IDC_STATIC, ControlStatic, "&Web Bugs", 0, kText, 6, 170, 53, 8},
    {IDC_POINTS_WEB_BUGS, ControlEdit, "", 0, kNumberEdit, 64, 167, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 100", 0, kText, 91, 170, 39, 8},
    {IDC_REMOVE_WEB_BUGS, ControlButton, "", 0, kCheckBox, 156, 168, 10, 10},
    {IDC_STATIC, ControlStatic, "&Read Receipts", 0, kText, 6, 184, 53, 8},
    {IDC_POINTS_READ_RECEIPTS, ControlEdit, "", 0, kNumberEdit, 64, 181, 26, 12},
    {IDC_STATIC, ControlStatic, "Default: 10", 0, kText, 91, 184, 39, 8},
    {IDC_REMOVE_READ_RECEIPTS, ControlButton, "", 0, kCheckBox, 156, 182, 10, 10},
};

const DialogResource kDialogs[] = {
    {IDD_CONFIG_PAGE, WS_CHILD | WS_DISABLED | DS_SETFONT, 0, 0, 200, 200, 8, "MS Sans Serif", "",
     RowsOf(kConfigPageItems)},
};

const ACCEL kConfigPageAccelerators[] = {
    {FVIRTKEY | FNOINVERT, VK_ESCAPE, ID_ESCAPE_COMMAND},
    {FVIRTKEY | FNOINVERT, VK_RETURN, ID_ENTER_COMMAND},
    {FVIRTKEY | FNOINVERT, VK_TAB, ID_NEXT_CONTROL},
    {FVIRTKEY | FSHIFT | FNOINVERT, VK_TAB, ID_PREVIOUS_CONTROL},
};

const AcceleratorResource kAccelerators[] = {
    {IDR_CONFIG_PAGE, RowsOf(kConfigPageAccelerators)},
};

const StringResource kStrings[] = {
    {IDC_ACTIVE, "Choose whether this analyzer is active."},
    {IDC_POINTS_SCRIPT, "Points to add to spam score for having script in the e-mail."},
    {IDC_POINTS_FORMATTING, "Points to add to spam score for having HMTL formatting in the e-mail."},
    {IDC_POINTS_LINKS, "Points to add to spam score for having links in the e-mail."},
    {IDC_REMOVE_SCRIPT, "Remove potentially dangerous HTML script from every e-mail.  On by default."},
    {IDC_REMOVE_FORMATTING, "Removes HTML formatting except links and images."},
    {IDC_REMOVE_LINKS, "Removes links (Anchor tags) from e-mail."},
    {IDC_REMOVE_IMAGES_INT, "Remove inline images from e-mail.  Less dangerous image type.  Frequently spam."},
    {IDC_POINTS_IMAGES_INT, "Points to add to spam score for having inline images in the e-mail."},
    {IDC_REMOVE_IMAGES_EXT, "Remove image references from e-mail, and eliminates potential web bugs."},
    {IDC_POINTS_IMAGES_EXT, "Points to add to spam score for having external images in the e-mail."},
    {IDC_POINTS_EXTERNAL_REFS, "Points to add to spam score for having references to external web sites."},
    {IDC_REMOVE_EXTERNAL_REFS, "Remove HTML references to external web sites."},
    {IDC_POINTS_WEB_BUGS, "Points to add to spam score for having web bugs in the e-mail."},
    {IDC_REMOVE_WEB_BUGS, "Remove IMG tags that notify spammers that you viewed your e-mail."},
    {IDC_POINTS_READ_RECEIPTS, "Points to add to spam score for read receipts in the e-mail."},
    {IDC_REMOVE_READ_RECEIPTS, "Remove Header tag which notifies others that you viewed the e-mail."},
    {IDS_RANGE_SCRIPT, "Remove Script points must be between 0 and 99,999."},
    {IDS_RANGE_FORMATTING, "Remove Formatting points must be between 0 and 99,999."},
    {IDS_RANGE_LINKS, "Remove Links points must be between 0 and 99,999."},
    {IDS_RANGE_IMAGES_EXT, "Remove External Images points must be between 0 and 99,999."},
    {IDS_RANGE_IMAGES_INT, "Remove Internal Images points must be between 0 and 99,999."},
    {IDS_RANGE_EXTERNAL_REFS, "Remove External Refs points must be between 0 and 99,999."},
    {IDS_RANGE_WEB_BUGS, "Remove Web Bugs points must be between 0 and 99,999."},
    {IDS_RANGE_READ_RECEIPTS, "Remove Read Receipts points must be between 0 and 99,999."},
};

const VersionResource kVersion = {
    {TAGSTRIP_VERSION_MAJOR, TAGSTRIP_VERSION_MINOR, TAGSTRIP_VERSION_PATCH, TAGSTRIP_VERSION_TWEAK},
    {TAGSTRIP_VERSION_MAJOR, TAGSTRIP_VERSION_MINOR, TAGSTRIP_VERSION_PATCH, TAGSTRIP_VERSION_TWEAK},
    FileTypeDll,
    "040904b0",
    TAGSTRIP_VERSION_COMMAS,
    TAGSTRIP_VERSION_COMMAS,
};

}  // namespace

const ResourceScript kModuleResources = {
    "Tagstrip.Analyzer", RowsOf(kIcons), RowsOf(kDialogs), RowsOf(kAccelerators), RowsOf(kStrings),
    &kVersion,
};
