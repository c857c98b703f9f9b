#include "cli/diagnostics.h"
#include "cli/standard_streams.h"

#include <ostream>

void ReportError(const std::string& source, const std::string& problem)
{
    ErrorStream() << "tagstrip: " << source << ": " << problem << '\n';
}

void ReportWarnings(const std::string& source, const MessageAnalysis& analysis)
{
    for (const std::string& warning : analysis.warnings) {
        ReportError(source, "warning: " + warning);
    }
    if (analysis.skipped != nullptr) {
        ReportError(source, std::string("warning: passed on unchanged, because ") + analysis.skipped->explanation);
    }
}
