#ifndef TAGSTRIP_COMMON_CATEGORY_H
#define TAGSTRIP_COMMON_CATEGORY_H

// The eight kinds of HTML content the analyzer scores and removes, in their fixed order.
// This order indexes the points, the remove switches and found flags, the ini keys and
// the findings report.
enum Category {
    CategoryScript,
    CategoryFormatting,
    CategoryImagesExt,
    CategoryImagesInt,
    CategoryLinks,
    CategoryExternalRefs,
    CategoryWebBugs,
    CategoryReadReceipts,
    CategoryCount
};

struct CategoryInfo {
    const char* name;          // short name, as scripts and the host print it
    const char* pointsKey;     // key in section "Settings"
    int defaultPoints;
    int flagsBit;              // remove switch in the Flags word (not in category order)
    const char* foundText;     // findings texts
    const char* removedText;
};

extern const CategoryInfo kCategories[CategoryCount];

// Flags word with the default remove switches: Script and WebBugs.
constexpr int kDefaultFlags = 0x41;

#endif
