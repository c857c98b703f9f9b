#include <cstdint>
#include <cstdio>

#include "fuzz/reference/filter_engine.h"

namespace reference {

namespace {

void AppendFindingsLine(std::string* findings, int number, const char* text)
{
    char line[128];
    std::snprintf(line, sizeof line, "%8d %s - '%s'\n", number, "Tagstrip", text);
    *findings += line;
}

// The host's score is a plain 32-bit sum that wraps rather than saturates.
void AddPoints(std::int32_t* score, int points)
{
    *score = static_cast<std::int32_t>(static_cast<std::uint32_t>(*score) + static_cast<std::uint32_t>(points));
}

}  // namespace

// Points of 0 or less neither score nor write a found line; a removed line always
// shows 0 and is what makes the filtered text replace the message.
bool FilterEngine::Report(const int (&points)[CategoryCount], std::int32_t* score, std::string* findings)
{
    bool replace = false;
    for (int category = 0; category < CategoryCount; ++category) {
        if (!found[category]) {
            continue;
        }
        if (points[category] > 0) {
            AppendFindingsLine(findings, points[category], kCategories[category].foundText);
            AddPoints(score, points[category]);
        }
        if (remove[category]) {
            AppendFindingsLine(findings, 0, kCategories[category].removedText);
            replace = true;
        }
    }
    return replace;
}

}  // namespace reference
