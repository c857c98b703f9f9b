#include <cstdint>

#include "analysis/filter_engine.h"
#include "common/findings_line.h"
#include "plugin/analyzer_instance.h"
#include "plugin/current_instance.h"

namespace {

void AppendFindingsLine(CString* findings, int number, const char* text)
{
    char line[128];
    FormatFindingsLine(line, sizeof line, number, kAnalyzerName, text);
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
bool FilterEngine::Report(std::int32_t* score, CString* findings)
{
    const AnalyzerInstance* instance = CurrentInstance();
    bool replace = false;
    for (int category = 0; category < CategoryCount; ++category) {
        if (!found[category]) {
            continue;
        }
        const int points = instance->Points(static_cast<Category>(category));
        if (points > 0) {
            AppendFindingsLine(findings, points, kCategories[category].foundText);
            AddPoints(score, points);
        }
        if (remove[category]) {
            AppendFindingsLine(findings, 0, kCategories[category].removedText);
            replace = true;
        }
    }
    return replace;
}
