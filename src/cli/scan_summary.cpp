#include "cli/scan_summary.h"

#include <cstdio>
#include <ostream>

#include "host/findings.h"

namespace {

double Ratio(double amount, double divisor)
{
    return divisor > 0 ? amount / divisor : 0.0;
}

double Megabytes(std::uint64_t bytes)
{
    return static_cast<double>(bytes) / 1e6;
}

std::string Row(const char* label, const std::string& value)
{
    char text[128];
    std::snprintf(text, sizeof text, "%-16s%s\n", label, value.c_str());
    return text;
}

std::string Formatted(const char* format, double first, double second = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, first, second);
    return text;
}

}  // namespace

void ScanSummary::Add(const MessageAnalysis& analysis, bool foundOnlyDecoded)
{
    ++messages;
    decodedParts += static_cast<std::uint64_t>(analysis.decodedParts);
    this->foundOnlyDecoded += foundOnlyDecoded;
    html += analysis.html && analysis.skipped == nullptr;
    rewritten += analysis.rewritten;
    skipped += analysis.skipped != nullptr;
    inactive += analysis.inactive;
    totalScore += analysis.score;
    CategoryMarks marks = MarksFromFindings(analysis.findings);
    for (int category = 0; category < CategoryCount; ++category) {
        found[category] += marks.found[category];
        removed[category] += marks.removed[category];
    }
}

void ScanSummary::PrintTable(std::ostream& out, double seconds, std::uint64_t bytes) const
{
    out << Row("Messages", std::to_string(messages)) << Row("HTML messages", std::to_string(html))
        << Row("Rewritten", std::to_string(rewritten)) << Row("Skipped", std::to_string(skipped))
        << Row("Failed", std::to_string(failed)) << Row("Decoded parts", std::to_string(decodedParts))
        << Row("Decoding found", std::to_string(foundOnlyDecoded));
    if (inactive != 0) {
        out << Row("Inactive", std::to_string(inactive) + " (Active=0: not analysed)");
    }
    out << '\n';
    char line[96];
    std::snprintf(line, sizeof line, "%-16s%8s%9s\n", "Category", "Found", "Removed");
    out << line;
    for (int category = 0; category < CategoryCount; ++category) {
        std::snprintf(line, sizeof line, "%-16s%8llu%9llu\n", kCategories[category].name,
                      static_cast<unsigned long long>(found[category]),
                      static_cast<unsigned long long>(removed[category]));
        out << line;
    }
    out << '\n'
        << Row("Total score", std::to_string(totalScore))
        << Row("Mean score", Formatted("%.1f", Ratio(static_cast<double>(totalScore), messages)))
        << Row("Time", Formatted("%.2f s", seconds))
        << Row("Rate", Formatted("%.0f messages/s, %.1f MB/s", Ratio(messages, seconds),
                                 Ratio(Megabytes(bytes), seconds)));
}

JsonObject ScanSummary::Json(double seconds, std::uint64_t bytes) const
{
    JsonObject categories;
    for (int category = 0; category < CategoryCount; ++category) {
        categories.AddObject(kCategories[category].name, JsonObject()
                                                             .AddInteger("found", found[category])
                                                             .AddInteger("removed", removed[category]));
    }
    return JsonObject()
        .AddString("type", "summary")
        .AddInteger("messages", messages)
        .AddInteger("html", html)
        .AddInteger("rewritten", rewritten)
        .AddInteger("skipped", skipped)
        .AddInteger("inactive", inactive)
        .AddInteger("failed", failed)
        .AddInteger("decodedParts", decodedParts)
        .AddInteger("foundOnlyDecoded", foundOnlyDecoded)
        .AddObject("categories", categories)
        .AddInteger("totalScore", totalScore)
        .AddNumber("meanScore", Ratio(static_cast<double>(totalScore), messages))
        .AddNumber("seconds", seconds)
        .AddNumber("messagesPerSecond", Ratio(messages, seconds))
        .AddNumber("megabytesPerSecond", Ratio(Megabytes(bytes), seconds));
}
