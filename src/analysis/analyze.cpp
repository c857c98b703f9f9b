#include "analysis/filter_engine.h"
#include "common/find_no_case.h"
#include "plugin/current_instance.h"

// Only HTML mail is analysed. Whatever goes wrong inside an analysis, even running out of
// memory on a huge part, the host keeps its message as it was and carries on.
bool AnalyzeMessage(AnalysisRecord& record)
{
    if (record.messageText == nullptr || CurrentInstance() == nullptr ||
        FindNoCase(*record.messageText, "text/html") == nullptr) {
        return false;
    }
    try {
        FilterEngine engine;
        return engine.Process(*record.messageText, &record.score, &record.findings);
    } catch (...) {
        return false;
    }
}
