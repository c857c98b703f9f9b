#include "cli/scan_job.h"

#include "mailbox/file_io.h"

ScanJob ScanJob::ForFile(const ScanItem& item)
{
    ScanJob job;
    job.source = item.path;
    job.file = &item;
    ReadWholeFile(item.path, job.message.text, job.readError);
    job.length = job.message.text.size();
    return job;
}

ScanJob ScanJob::ForMboxMessage(const std::string& path, int index, MboxMessage message, std::uint64_t bytesRead)
{
    ScanJob job;
    job.source = path;
    job.index = index;
    job.length = message.fromLine.size() + message.text.size() + message.separator.size();
    job.message = std::move(message);
    job.mboxBytesRead = bytesRead;
    return job;
}

void ScanJob::Analyze(const HostSession& session, MessageAfterwards afterwards)
{
    if (readError.empty()) {
        analysis = session.AnalyzeNotingDecodedOnly(message.text, afterwards, foundOnlyDecoded);
    }
}

std::size_t ScanJob::Bytes() const
{
    return static_cast<std::size_t>(length);
}

std::string ScanJob::Where() const
{
    return index == 0 ? source : source + ", message " + std::to_string(index);
}
