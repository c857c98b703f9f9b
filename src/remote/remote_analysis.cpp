#include "remote/remote_analysis.h"

#include <cstring>

#include "common/find_no_case.h"
#include "common/findings_line.h"
#include "common/output_buffer.h"
#include "mime/mime_walker.h"
#include "remote/remote_filter.h"
#include "remote/remote_part_handler.h"

namespace {

void AppendFindingsLine(CString& findings, int number, const char* text)
{
    char line[256];
    FormatFindingsLine(line, sizeof line, number, kRemoteAnalyzerName, text);
    findings += line;
}

// Found lines before removed lines of each category, categories in their order.
bool Report(const RemoteInstance& instance, const RemoteFilter& filter, AnalysisRecord& record)
{
    bool replace = false;
    for (int index = 0; index < RemoteCategoryCount; ++index) {
        const RemoteCategory category = static_cast<RemoteCategory>(index);
        if (!filter.found[category]) {
            continue;
        }
        const int points = instance.Points(category);
        if (points > 0) {
            AppendFindingsLine(record.findings, points, kRemoteCategories[category].foundText);
            record.score += points;
        }
        if (filter.remove[category]) {
            AppendFindingsLine(record.findings, 0, kRemoteCategories[category].removedText);
            replace = true;
        }
    }
    return replace;
}

// Into the message's own buffer when it has room, so that no second one is needed
// beside it.
void ReplaceText(CString& text, std::string_view filtered)
{
    const int length = static_cast<int>(filtered.size());
    std::memcpy(text.GetBuffer(length), filtered.data(), filtered.size());
    text.ReleaseBuffer(length);
}

}  // namespace

bool AnalyzeRemote(const RemoteInstance& instance, AnalysisRecord& record)
{
    const CString& text = *record.messageText;
    if (FindNoCaseUpToNul(std::string_view(text, static_cast<std::size_t>(text.GetLength())), "text/html") == nullptr) {
        return false;
    }
    const std::shared_ptr<const TrackerList> trackers = instance.Trackers();
    RemoteFilter filter(*trackers, instance.Flags());
    OutputBuffer filtered;
    filtered.Reserve(static_cast<std::size_t>(text.GetLength()));
    filter.SetOutput(&filtered);
    RemotePartHandler handler(filter, filtered);
    MimeWalker().Walk(std::string_view(text, static_cast<std::size_t>(text.GetLength())), &handler);
    handler.Finish();
    if (!Report(instance, filter, record)) {
        return false;
    }
    ReplaceText(*record.messageText, filtered.Text());
    return true;
}
