#include "common/remote_category.h"

const RemoteCategoryInfo kRemoteCategories[RemoteCategoryCount] = {
    {"RemoteLoads", "PointsRemoteLoads", 10, 0x01, "Remote loads found.", "Remote loads removed."},
    {"TrackingPixels", "PointsTrackingPixels", 50, 0x02, "Tracking pixels found.", "Tracking pixels removed."},
    {"KnownTrackers", "PointsKnownTrackers", 50, 0x04, "Known trackers found.", "Known trackers removed."},
    {"LinkTracking", "PointsLinkTracking", 5, 0x08, "Link tracking found.", "Link tracking removed."},
};
