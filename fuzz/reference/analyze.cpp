// The in-memory road of one message as the analyzer took it before its output path was
// reworked: one copy of the text, an input string stream, the walker and the part handler
// writing into an output string stream, then the report. A long message took the same
// road through a temporary file, which gave the same bytes.
#include <sstream>

#include "fuzz/reference/filter_engine.h"
#include "fuzz/reference/filter_part_handler.h"
#include "fuzz/reference/find_no_case.h"
#include "fuzz/reference/mime_walker.h"

namespace reference {

Analysis AnalyzeMessage(const std::string& message, int flags, const int (&points)[CategoryCount])
{
    Analysis analysis;
    analysis.text = message;
    if (FindNoCase(message.c_str(), "text/html") == nullptr) {
        return analysis;
    }
    FilterEngine engine(flags);
    std::ostringstream memory;
    engine.output = &memory;
    std::istringstream in(message);
    FilterPartHandler handler(&engine);
    MimeWalker().Walk(in, &handler);
    handler.Finish();
    engine.output = nullptr;
    if (engine.Report(points, &analysis.score, &analysis.findings)) {
        analysis.text = memory.str();
        analysis.result = 1;
    }
    return analysis;
}

}  // namespace reference
