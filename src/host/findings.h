#ifndef TAGSTRIP_HOST_FINDINGS_H
#define TAGSTRIP_HOST_FINDINGS_H

#include <string>
#include <vector>

#include "common/category.h"

// Which categories a message's findings lines report as found and as removed. A line
// ends in the category's text in single quotes, which tells found from removed.
struct CategoryMarks {
    bool found[CategoryCount] = {};
    bool removed[CategoryCount] = {};
};

CategoryMarks MarksFromFindings(const std::string& findings);

// The findings text cut into its lines, without their line feeds.
std::vector<std::string> FindingsLines(const std::string& findings);

#endif
