#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <sched.h>
#include <thread>
#include <unistd.h>

#include "cli/command.h"
#include "cli/core_warm_up.h"
#include "cli/diagnostics.h"
#include "cli/ordered_pipeline.h"
#include "cli/standard_streams.h"
#include "host/findings.h"
#include "mailbox/mbox_rewrite.h"
#include "cli/progress_bar.h"
#include "cli/scan_job.h"
#include "mailbox/scan_items.h"
#include "cli/scan_summary.h"
#include "cli/scan_write_back.h"
#include "cli/session_setup.h"
#include "mailbox/stop_signals.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip scan [-j N] [--json] [--rewrite [--backup] [--lock-wait SECONDS]] PATH...\n"
    "Analyses every message of each mailbox and prints a summary table. A PATH is\n"
    "  - a file: an mbox (messages start at \"From \" lines; \">From \" quoting is kept);\n"
    "  - a Maildir (a directory with cur/ and new/): every message in cur/ and new/;\n"
    "  - any other directory: every regular file in it is one message, except files\n"
    "    named *.mbox, which are scanned as mboxes. Hidden files and subdirectories\n"
    "    are left out.\n"
    "A progress line appears on standard error when it is a terminal. \"Decoded parts\"\n"
    "counts the quoted-printable and base64 HTML parts analysed decoded, \"Decoding\n"
    "found\" the messages in which they show a category that the message as it stands\n"
    "does not (--raw analyses as it stands).\n"
    "  -j, --jobs N  analyse on N threads (default: one per core); the output, and what\n"
    "             --rewrite writes, are the same whatever N is\n"
    "  --json     print one JSON object per message and one for the summary, one per line\n"
    "  --rewrite  write the rewritten messages back: message files and Maildir messages\n"
    "             are replaced by write-new-then-rename (a Maildir name's S= and W= sizes\n"
    "             follow, flags and modification time stay); an mbox is rewritten in\n"
    "             place under its fcntl lock, <mbox>.lock and flock, from a synced journal\n"
    "             beside it that the next run finishes from if this one is killed\n"
    "  --backup   with --rewrite, keep the originals: <mbox>.orig for an mbox, the same\n"
    "             names under <directory>.orig/ for message files\n"
    "  --lock-wait SECONDS  how long to wait for a locked mbox (default 30)\n"
    "SIGTERM, SIGINT and SIGHUP stop the scan after the current message, leaving every\n"
    "mailbox as it was or fully rewritten.\n"
    "With Active=0 in the settings nothing is analysed; the summary counts the messages\n"
    "as inactive.\n";

using Clock = std::chrono::steady_clock;

// The queue between the reader and the analysis holds at most this much per thread: deep
// enough in messages that the other threads still have work while the reading thread
// works on a long message itself (at 8 messages per thread two threads took 5% longer
// than at 32, at 4 16%; at 16 and 64 as long).
constexpr std::size_t kQueuedMessagesPerThread = 32;
constexpr std::size_t kQueuedBytesPerThread = 8u << 20;
constexpr unsigned kMostThreads = 256;

std::vector<std::string> FoundOrRemoved(const bool (&marks)[CategoryCount])
{
    std::vector<std::string> names;
    for (int category = 0; category < CategoryCount; ++category) {
        if (marks[category]) {
            names.push_back(kCategories[category].name);
        }
    }
    return names;
}

// The cores this process may run on, as nproc counts them.
unsigned CoreCount()
{
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) {
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&cores)));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// -j / --jobs: a whole number from 1 to kMostThreads; by default the number of cores.
bool ThreadCount(const ParsedCommandLine& commandLine, unsigned& threads)
{
    if (!commandLine.Has("--jobs")) {
        threads = std::min(CoreCount(), kMostThreads);
        return true;
    }
    const std::string value = commandLine.Value("--jobs");
    char* end = nullptr;
    errno = 0;
    const unsigned long number = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || !std::isdigit(static_cast<unsigned char>(value[0])) || *end != '\0' || errno != 0 ||
        number < 1 || number > kMostThreads) {
        return false;
    }
    threads = static_cast<unsigned>(number);
    return true;
}

// Reads the messages in mailbox order and queues them for analysis on the session's
// threads; reports each analysed message, and writes it back, in that same order, on
// this one thread. Mailboxes are read and written only here, so an mbox's lock and
// journal work as they would without threads.
class Scan {
public:
    Scan(const HostSession& session, const ParsedCommandLine& commandLine, unsigned threads,
         std::uint64_t totalBytes)
        : session(session),
          json(commandLine.Has("--json")),
          rewrite(commandLine.Has("--rewrite")),
          writeBack(commandLine),
          progress(ErrorStream(), totalBytes, isatty(STDERR_FILENO) != 0),
          queue({threads, threads * kQueuedMessagesPerThread, threads * kQueuedBytesPerThread},
                [this](ScanJob& job) { job.Analyze(this->session, this->TextAfterwards()); },
                [this](ScanJob& job) { Report(job); })
    {
    }

    void Items(const std::vector<ScanItem>& items)
    {
        if (rewrite) {
            writeBack.RemoveLeftovers(items);
        }
        for (const ScanItem& item : items) {
            if (StopSignals::Requested() != 0) {
                queue.Discard();
                ReportStop();
                return;
            }
            Item(item);
        }
        queue.Close();
        if (!FinishQueued()) {
            ReportStop();
        }
    }

    void Failure(const std::string& source, const std::string& problem)
    {
        ReportError(source, problem);
        summary.AddFailure();
        if (json) {
            OutputStream() << JsonObject().AddString("type", "error").AddString("source", source)
                             .AddString("error", problem).Text() << '\n';
        }
    }

    int Finish()
    {
        progress.Finish();
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (json) {
            OutputStream() << summary.Json(seconds, bytesDone).Text() << '\n';
        } else {
            summary.PrintTable(OutputStream(), seconds, bytesDone);
            writeBack.Report(OutputStream());
        }
        return summary.AnyFailed() ? kExitMessageFailed : kExitOk;
    }

private:
    void Item(const ScanItem& item)
    {
        if (item.kind == ScanItem::Mbox) {
            if (!FinishQueued()) {
                return;
            }
            Mbox(item);
            bytesDone += item.size;
            progress.Update(summary.Messages(), bytesDone);
        } else {
            ScanJob job = ScanJob::ForFile(item);
            const std::size_t bytes = job.Bytes();
            queue.Submit(std::move(job), bytes);
        }
    }

    // Only a rewritten mailbox needs a message's text afterwards, and only where nothing
    // rewrote it; the job keeps its length.
    MessageAfterwards TextAfterwards() const
    {
        return rewrite ? MessageAfterwards::NeededUnlessRewritten : MessageAfterwards::NotNeeded;
    }

    static void ReportStop()
    {
        ErrorStream() << "tagstrip: stopped by " << StopSignals::Name(StopSignals::Requested()) << '\n';
    }

    // Hands back every queued message, unless a stop signal comes first: then the rest
    // is dropped, unreported and unwritten, and the answer is false when there was any.
    bool FinishQueued()
    {
        while (StopSignals::Requested() == 0 && queue.HandBackOldest()) {
        }
        return queue.Discard() == 0;
    }

    // An analysed message, in mailbox order.
    void Report(ScanJob& job)
    {
        if (job.file != nullptr) {
            ReportFile(job);
            bytesDone += job.file->size;
        } else if (!mboxGivenUp) {
            ReportMboxMessage(job);
        }
        progress.Update(summary.Messages(), bytesDone + job.mboxBytesRead);
    }

    void ReportAnalysis(const ScanJob& job)
    {
        ReportWarnings(job.Where(), job.analysis);
        summary.Add(job.analysis, job.foundOnlyDecoded);
        if (json) {
            PrintJson(job);
        }
    }

    void ReportFile(const ScanJob& job)
    {
        if (!job.readError.empty()) {
            Failure(job.source, job.readError);
            return;
        }
        ReportAnalysis(job);
        std::string error;
        if (rewrite && job.analysis.rewritten && !writeBack.MessageFile(*job.file, job.analysis.rewrittenText, error)) {
            Failure(job.source, error);
        }
    }

    // Once a write into the mbox fails, the mbox is given up: the rest of its messages
    // are neither reported nor written.
    void ReportMboxMessage(const ScanJob& job)
    {
        ReportAnalysis(job);
        std::string error;
        if (rewrite && !mboxRewrite->Write(job.message, job.length, job.analysis, error)) {
            Failure(job.source, error + "; the mailbox is left as it was");
            mboxGivenUp = true;
        }
    }

    void PrintJson(const ScanJob& job)
    {
        const MessageAnalysis& analysis = job.analysis;
        CategoryMarks marks = MarksFromFindings(analysis.findings);
        JsonObject line;
        line.AddString("type", "message").AddString("source", job.source);
        if (job.index != 0) {
            line.AddInteger("index", job.index);
        }
        line.AddBool("html", analysis.html)
            .AddBool("inactive", analysis.inactive)
            .AddBool("skipped", analysis.skipped != nullptr)
            .AddBool("rewritten", analysis.rewritten)
            .AddInteger("score", analysis.score)
            .AddInteger("decodedParts", analysis.decodedParts)
            .AddBool("foundOnlyDecoded", job.foundOnlyDecoded)
            .AddStrings("found", FoundOrRemoved(marks.found))
            .AddStrings("removed", FoundOrRemoved(marks.removed))
            .AddStrings("findings", FindingsLines(analysis.findings));
        OutputStream() << line.Text() << '\n';
    }

    void Mbox(const ScanItem& item)
    {
        MboxReader reader;
        MboxRewrite rewritten;
        std::string error;
        bool opened = rewrite ? rewritten.Begin(item.path, writeBack.Wait(), error) &&
                                    reader.Attach(rewritten.Descriptor(), error)
                              : reader.Open(item.path, error);
        if (!opened) {
            Failure(item.path, error);
            return;
        }
        mboxRewrite = &rewritten;
        mboxGivenUp = false;
        MboxMessage message;
        for (int index = 1; StopSignals::Requested() == 0 && !mboxGivenUp && reader.Next(message); ++index) {
            ScanJob job = ScanJob::ForMboxMessage(item.path, index, std::move(message), reader.BytesRead());
            const std::size_t bytes = job.Bytes();
            queue.Submit(std::move(job), bytes);
        }
        FinishQueued();
        mboxRewrite = nullptr;
        if (mboxGivenUp) {
            return;
        }
        if (StopSignals::Requested() != 0) {
            Failure(item.path, std::string("stopped by ") + StopSignals::Name(StopSignals::Requested()) +
                                   (rewrite ? "; the mailbox is left as it was" : ""));
        } else if (!reader.Error().empty()) {
            Failure(item.path, reader.Error());
        } else if (rewrite && !writeBack.Mbox(item, rewritten, error)) {
            Failure(item.path, error);
        }
    }

    const HostSession& session;
    bool json;
    bool rewrite;
    ScanWriteBack writeBack;
    ProgressBar progress;
    ScanSummary summary;
    Clock::time_point start = Clock::now();
    std::uint64_t bytesDone = 0;
    MboxRewrite* mboxRewrite = nullptr;  // of the mbox being scanned
    bool mboxGivenUp = false;
    OrderedPipeline<ScanJob> queue;      // last: its threads go before what they use
};

int RunScan(const ParsedCommandLine& commandLine)
{
    if (commandLine.arguments.empty()) {
        ErrorStream() << kHelp;
        return kExitUsage;
    }
    unsigned threads = 1;
    if (!ThreadCount(commandLine, threads)) {
        ErrorStream() << "tagstrip scan: -j/--jobs takes a whole number from 1 to " << kMostThreads << ", not \""
                      << commandLine.Value("--jobs") << "\"\n"
                      << "Run 'tagstrip scan --help' for its options.\n";
        return kExitUsage;
    }
    // The other threads' cores spin while the modules load, so that they start at once.
    CoreWarmUp otherCores(std::min(threads, CoreCount()) - 1);
    std::unique_ptr<HostSession> session = OpenSession(commandLine);
    if (session == nullptr) {
        return kExitUsage;
    }
    session->SetRewrittenTextWanted(commandLine.Has("--rewrite"));
    std::vector<ScanItem> items;
    std::vector<std::pair<std::string, std::string>> listingErrors;
    for (const std::string& path : commandLine.arguments) {
        std::string error;
        if (!ListScanItems(path, items, error)) {
            listingErrors.emplace_back(path, error);
        }
    }
    std::uint64_t totalBytes = 0;
    for (const ScanItem& item : items) {
        totalBytes += item.size;
    }
    Scan scan(*session, commandLine, threads, totalBytes);
    otherCores.Stop();
    for (const auto& [path, error] : listingErrors) {
        scan.Failure(path, error);
    }
    scan.Items(items);
    return scan.Finish();
}

}  // namespace

const Command kScanCommand = {
    "scan",
    "analyse whole mailboxes (mbox, Maildir, directory) and summarise",
    kHelp,
    {{"--jobs", true, 'j'}, {"--json", false}, {"--rewrite", false}, {"--backup", false}, {"--lock-wait", true}},
    RunScan,
};
