#include "common/category.h"

const CategoryInfo kCategories[CategoryCount] = {
    {"Script", "PointsScript", 50, 0x01, "Script found.", "Script removed."},
    {"Formatting", "PointsFormatting", 10, 0x02, "Formatting found.", "Formatting removed."},
    {"ImagesExt", "PointsImagesExt", 60, 0x04, "External Image references found.",
     "External Image references removed."},
    {"ImagesInt", "PointsImagesInt", 60, 0x10, "Internal Image references found.",
     "Internal Image references removed."},
    {"Links", "PointsLinks", 10, 0x08, "Links found.", "Links removed."},
    {"ExternalRefs", "PointsExternalRefs", 60, 0x20, "External Refs found.", "External Refs removed."},
    {"WebBugs", "PointsWebBugs", 100, 0x40, "Web Bugs found.", "Web Bugs removed."},
    {"ReadReceipts", "PointsReadReceipts", 10, 0x80, "Read Receipt found.", "Read Receipt removed."},
};
