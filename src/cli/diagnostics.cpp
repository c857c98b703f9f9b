#include "cli/diagnostics.h"

#include <iostream>

void ReportError(const std::string& source, const std::string& problem)
{
    std::cerr << "tagstrip: " << source << ": " << problem << '\n';
}

void WarnIfSkipped(const std::string& source, const MessageAnalysis& analysis)
{
    if (analysis.skipped != nullptr) {
        ReportError(source, std::string("warning: passed on unchanged, because ") + analysis.skipped->explanation);
    }
}
