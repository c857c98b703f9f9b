// The remote-content analyzer's resource script: icon, configuration page, accelerators,
// strings and version. The loader entry registers kModuleResources under the module's handle.
#include "platform/kernel/resource_script.h"
#include "platform/ui/winuser.h"
#include "remote/remote_resource.h"
#include "tagstrip/version.h"

extern const ResourceScript kModuleResources;

namespace {

constexpr DWORD kCheckBox = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kNumberEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr DWORD kIcon = WS_CHILD | WS_VISIBLE | SS_ICON;

// An eye crossed out.
const char* const kRemoteIconPixels[] = {
    "(o)\\ ",
    " \\(o)",
};

const IconResource kIcons[] = {
    {IDI_REMOTE, RowsOf(kRemoteIconPixels)},
};

const DialogItem kPageItems[] = {
    {IDC_REMOTE_ACTIVE, ControlButton, "&Active", 0, kCheckBox, 6, 7, 36, 10},
    {IDC_REMOTE_STATIC, ControlStatic, "Removes what a mail program would fetch from the network and the trackers that report when you read.", 0, kText, 45, 7, 148, 27},
    {IDC_REMOTE_STATIC, ControlStatic, "", IDI_REMOTE, kIcon, 6, 20, 20, 20},
    {IDC_REMOTE_STATIC, ControlStatic, "Set points to 0 to remove from spam analysis.", 0, kText, 45, 36, 148, 13},
    {IDC_REMOTE_STATIC, ControlStatic, "Points", 0, kText, 65, 73, 27, 8},
    {IDC_REMOTE_STATIC, ControlStatic, "Remove from e-mail", 0, kText, 127, 73, 66, 8},
    {IDC_REMOTE_STATIC, ControlStatic, "Remote &loads", 0, kText, 6, 86, 56, 8},
    {IDC_POINTS_REMOTE_LOADS, ControlEdit, "", 0, kNumberEdit, 64, 83, 26, 12},
    {IDC_REMOTE_STATIC, ControlStatic, "Default: 10", 0, kText, 91, 86, 41, 8},
    {IDC_REMOVE_REMOTE_LOADS, ControlButton, "", 0, kCheckBox, 156, 84, 12, 10},
    {IDC_REMOTE_STATIC, ControlStatic, "Tracking &pixels", 0, kText, 6, 100, 56, 8},
    {IDC_POINTS_TRACKING_PIXELS, ControlEdit, "", 0, kNumberEdit, 64, 97, 26, 12},
    {IDC_REMOTE_STATIC, ControlStatic, "Default: 50", 0, kText, 91, 100, 41, 8},
    {IDC_REMOVE_TRACKING_PIXELS, ControlButton, "", 0, kCheckBox, 156, 98, 12, 10},
    {IDC_REMOTE_STATIC, ControlStatic, "&Known trackers", 0, kText, 6, 114, 56, 8},
    {IDC_POINTS_KNOWN_TRACKERS, ControlEdit, "", 0, kNumberEdit, 64, 111, 26, 12},
    {IDC_REMOTE_STATIC, ControlStatic, "Default: 50", 0, kText, 91, 114, 41, 8},
    {IDC_REMOVE_KNOWN_TRACKERS, ControlButton, "", 0, kCheckBox, 156, 112, 12, 10},
    {IDC_REMOTE_STATIC, ControlStatic, "Link &tracking", 0, kText, 6, 128, 56, 8},
    {IDC_POINTS_LINK_TRACKING, ControlEdit, "", 0, kNumberEdit, 64, 125, 26, 12},
    {IDC_REMOTE_STATIC, ControlStatic, "Default: 5", 0, kText, 91, 128, 41, 8},
    {IDC_REMOVE_LINK_TRACKING, ControlButton, "", 0, kCheckBox, 156, 126, 12, 10},
};

const DialogResource kDialogs[] = {
    {IDD_REMOTE_PAGE, WS_CHILD | WS_DISABLED | DS_SETFONT, 0, 0, 200, 200, 8, "MS Sans Serif", "",
     RowsOf(kPageItems)},
};

const ACCEL kPageAccelerators[] = {
    {FVIRTKEY | FNOINVERT, VK_ESCAPE, ID_REMOTE_ESCAPE},
    {FVIRTKEY | FNOINVERT, VK_RETURN, ID_REMOTE_ENTER},
    {FVIRTKEY | FNOINVERT, VK_TAB, ID_REMOTE_NEXT_CONTROL},
    {FVIRTKEY | FSHIFT | FNOINVERT, VK_TAB, ID_REMOTE_PREVIOUS_CONTROL},
};

const AcceleratorResource kAccelerators[] = {
    {IDR_REMOTE_PAGE, RowsOf(kPageAccelerators)},
};

const StringResource kStrings[] = {
    {IDC_REMOTE_ACTIVE, "Choose whether this analyzer is active."},
    {IDC_POINTS_REMOTE_LOADS, "Points to add to spam score for content fetched from the network when the e-mail is opened."},
    {IDC_REMOVE_REMOTE_LOADS, "Remove remote images, style sheets, fonts, media and frames. Text stays. On by default."},
    {IDC_POINTS_TRACKING_PIXELS, "Points to add to spam score for invisible images or images that carry your address."},
    {IDC_REMOVE_TRACKING_PIXELS, "Remove images made to report that you opened the e-mail. On by default."},
    {IDC_POINTS_KNOWN_TRACKERS, "Points to add to spam score for addresses on the tracker list."},
    {IDC_REMOVE_KNOWN_TRACKERS, "Remove images and link addresses on the tracker list. On by default."},
    {IDC_POINTS_LINK_TRACKING, "Points to add to spam score for tracking parameters on links."},
    {IDC_REMOVE_LINK_TRACKING, "Strip utm_ and other tracking parameters from links, leaving the rest of the address. Off by default."},
    {IDS_RANGE_REMOTE_LOADS, "Remote Loads points must be between 0 and 99,999."},
    {IDS_RANGE_TRACKING_PIXELS, "Tracking Pixels points must be between 0 and 99,999."},
    {IDS_RANGE_KNOWN_TRACKERS, "Known Trackers points must be between 0 and 99,999."},
    {IDS_RANGE_LINK_TRACKING, "Link Tracking points must be between 0 and 99,999."},
};

const VersionResource kVersion = {
    {1, 0, 0, 0},
    {TAGSTRIP_VERSION_MAJOR, TAGSTRIP_VERSION_MINOR, TAGSTRIP_VERSION_PATCH, TAGSTRIP_VERSION_TWEAK},
    FileTypeDll,
    "040904b0",
    "1, 0, 0, 0",
    TAGSTRIP_VERSION_COMMAS,
};

}  // namespace

const ResourceScript kModuleResources = {
    "Remote.Analyzer", RowsOf(kIcons), RowsOf(kDialogs), RowsOf(kAccelerators), RowsOf(kStrings), &kVersion,
};
