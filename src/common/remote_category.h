#ifndef TAGSTRIP_COMMON_REMOTE_CATEGORY_H
#define TAGSTRIP_COMMON_REMOTE_CATEGORY_H

// What the remote-content analyzer (src/remote) finds, in its fixed order: the order of the points,
// the ini keys, the page's rows and the findings report.
enum RemoteCategory {
    RemoteLoads,     // anything a reader's program fetches without a click
    TrackingPixels,  // images made to be invisible, or whose address carries the recipient
    KnownTrackers,   // image and link addresses on the tracker list
    LinkTracking,    // tracking parameters on link addresses
    RemoteCategoryCount
};

struct RemoteCategoryInfo {
    const char* name;       // as the settings command and the ini keys spell it
    const char* pointsKey;  // key in section "Settings"
    int defaultPoints;
    int flagsBit;           // remove switch in the Flags word
    const char* foundText;  // findings texts
    const char* removedText;
};

extern const RemoteCategoryInfo kRemoteCategories[RemoteCategoryCount];

// Remote loads, tracking pixels and known trackers are removed; link addresses are left
// alone unless the admin asks.
constexpr int kRemoteDefaultFlags = 0x07;

#endif
