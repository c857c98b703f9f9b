#include "cli/scan_job.h"

#include "host/findings.h"
#include "mailbox/file_io.h"

namespace {

// Whether decoding found a category that the message as it stands does not show;
// asked only of the few messages with decoded parts and findings.
bool FoundOnlyDecoded(const HostSession& session, const std::string& message, const MessageAnalysis& analysis)
{
    if (analysis.decodedParts == 0 || analysis.findings.empty()) {
        return false;
    }
    const CategoryMarks decoded = MarksFromFindings(analysis.findings);
    const CategoryMarks raw = MarksFromFindings(session.AnalyzeAsItStands(message).findings);
    for (int category = 0; category < CategoryCount; ++category) {
        if (decoded.found[category] && !raw.found[category]) {
            return true;
        }
    }
    return false;
}

}  // namespace

ScanJob ScanJob::ForFile(const ScanItem& item)
{
    ScanJob job;
    job.source = item.path;
    job.file = &item;
    ReadWholeFile(item.path, job.message.text, job.readError);
    return job;
}

ScanJob ScanJob::ForMboxMessage(const std::string& path, int index, MboxMessage message, std::uint64_t bytesRead)
{
    ScanJob job;
    job.source = path;
    job.index = index;
    job.message = std::move(message);
    job.mboxBytesRead = bytesRead;
    return job;
}

void ScanJob::Analyze(const HostSession& session)
{
    if (readError.empty()) {
        analysis = session.Analyze(message.text);
        foundOnlyDecoded = FoundOnlyDecoded(session, message.text, analysis);
    }
}

std::size_t ScanJob::Bytes() const
{
    return message.fromLine.size() + message.text.size() + message.separator.size();
}

std::string ScanJob::Where() const
{
    return index == 0 ? source : source + ", message " + std::to_string(index);
}
