#include "analysis/filter_engine.h"
#include "common/find_no_case.h"
#include "plugin/current_instance.h"

// Only HTML mail is analysed. An analysis that throws, even for want of memory on a huge
// part, unwinds its engine, output buffer and temporary file before the entry point catches it,
// and the host keeps its record as it was.
bool AnalyzeMessage(AnalysisRecord& record)
{
    if (record.messageText == nullptr || CurrentInstance() == nullptr ||
        FindNoCaseUpToNul(std::string_view(*record.messageText, static_cast<std::size_t>(record.messageText->GetLength())),
                          "text/html") == nullptr) {
        return false;
    }
    FilterEngine engine;
    return engine.Process(*record.messageText, &record.score, &record.findings);
}
