// Resource ids of the remote-content analyzer module, shared by its resource script and
// its page. Ids are per module, so they may repeat those of other modules.
#ifndef TAGSTRIP_REMOTE_REMOTE_RESOURCE_H
#define TAGSTRIP_REMOTE_REMOTE_RESOURCE_H

#define IDI_REMOTE 12000
#define IDD_REMOTE_PAGE 12001
#define IDR_REMOTE_PAGE 12001

// Controls of the page; each control's tooltip string has the control's id.
#define IDC_REMOTE_ACTIVE 12001
#define IDC_POINTS_REMOTE_LOADS 12004
#define IDC_REMOVE_REMOTE_LOADS 12005
#define IDC_POINTS_TRACKING_PIXELS 12006
#define IDC_REMOVE_TRACKING_PIXELS 12007
#define IDC_POINTS_KNOWN_TRACKERS 12008
#define IDC_REMOVE_KNOWN_TRACKERS 12009
#define IDC_POINTS_LINK_TRACKING 12010
#define IDC_REMOVE_LINK_TRACKING 12011
#define IDC_REMOTE_STATIC (-1)

// Range messages of the points fields.
#define IDS_RANGE_REMOTE_LOADS 12116
#define IDS_RANGE_TRACKING_PIXELS 12117
#define IDS_RANGE_KNOWN_TRACKERS 12118
#define IDS_RANGE_LINK_TRACKING 12119

// Commands of the page's accelerator table.
#define ID_REMOTE_ESCAPE 32771
#define ID_REMOTE_ENTER 32772
#define ID_REMOTE_NEXT_CONTROL 32773
#define ID_REMOTE_PREVIOUS_CONTROL 32774

#endif
