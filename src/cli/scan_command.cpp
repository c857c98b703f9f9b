#include <chrono>
#include <iostream>
#include <unistd.h>

#include "cli/command.h"
#include "cli/diagnostics.h"
#include "host/findings.h"
#include "mailbox/mbox_rewrite.h"
#include "cli/progress_bar.h"
#include "mailbox/scan_items.h"
#include "cli/scan_summary.h"
#include "cli/scan_write_back.h"
#include "cli/session_setup.h"
#include "mailbox/stop_signals.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip scan [--json] [--rewrite [--backup] [--lock-wait SECONDS]] PATH...\n"
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

class Scan {
public:
    Scan(const HostSession& session, const ParsedCommandLine& commandLine, std::uint64_t totalBytes)
        : session(session),
          json(commandLine.Has("--json")),
          rewrite(commandLine.Has("--rewrite")),
          writeBack(commandLine),
          progress(std::cerr, totalBytes, isatty(STDERR_FILENO) != 0)
    {
    }

    void Items(const std::vector<ScanItem>& items)
    {
        if (rewrite) {
            writeBack.RemoveLeftovers(items);
        }
        for (const ScanItem& item : items) {
            if (StopSignals::Requested() != 0) {
                std::cerr << "tagstrip: stopped by " << StopSignals::Name(StopSignals::Requested()) << '\n';
                return;
            }
            Item(item);
        }
    }

    void Item(const ScanItem& item)
    {
        if (item.kind == ScanItem::Mbox) {
            Mbox(item);
        } else {
            MessageFile(item);
        }
        bytesDone += item.size;
        progress.Update(summary.Messages(), bytesDone);
    }

    void Failure(const std::string& source, const std::string& problem)
    {
        ReportError(source, problem);
        summary.AddFailure();
        if (json) {
            std::cout << JsonObject().AddString("type", "error").AddString("source", source)
                             .AddString("error", problem).Text() << '\n';
        }
    }

    int Finish()
    {
        progress.Finish();
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (json) {
            std::cout << summary.Json(seconds, bytesDone).Text() << '\n';
        } else {
            summary.PrintTable(std::cout, seconds, bytesDone);
            writeBack.Report(std::cout);
        }
        return summary.AnyFailed() ? kExitMessageFailed : kExitOk;
    }

private:
    MessageAnalysis Analyze(const std::string& source, int index, const std::string& message)
    {
        MessageAnalysis analysis = session.Analyze(message);
        ReportWarnings(index == 0 ? source : source + ", message " + std::to_string(index), analysis);
        const bool foundOnlyDecoded = FoundOnlyDecoded(message, analysis);
        summary.Add(analysis, foundOnlyDecoded);
        if (json) {
            PrintJson(source, index, analysis, foundOnlyDecoded);
        }
        return analysis;
    }

    // Whether decoding found a category that the message as it stands does not show;
    // asked only of the few messages with decoded parts and findings.
    bool FoundOnlyDecoded(const std::string& message, const MessageAnalysis& analysis) const
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

    void PrintJson(const std::string& source, int index, const MessageAnalysis& analysis, bool foundOnlyDecoded)
    {
        CategoryMarks marks = MarksFromFindings(analysis.findings);
        JsonObject line;
        line.AddString("type", "message").AddString("source", source);
        if (index != 0) {
            line.AddInteger("index", index);
        }
        line.AddBool("html", analysis.html)
            .AddBool("inactive", analysis.inactive)
            .AddBool("skipped", analysis.skipped != nullptr)
            .AddBool("rewritten", analysis.rewritten)
            .AddInteger("score", analysis.score)
            .AddInteger("decodedParts", analysis.decodedParts)
            .AddBool("foundOnlyDecoded", foundOnlyDecoded)
            .AddStrings("found", FoundOrRemoved(marks.found))
            .AddStrings("removed", FoundOrRemoved(marks.removed))
            .AddStrings("findings", FindingsLines(analysis.findings));
        std::cout << line.Text() << '\n';
    }

    void MessageFile(const ScanItem& item)
    {
        std::string message;
        std::string error;
        if (!ReadWholeFile(item.path, message, error)) {
            Failure(item.path, error);
            return;
        }
        MessageAnalysis analysis = Analyze(item.path, 0, message);
        if (rewrite && analysis.rewritten && !writeBack.MessageFile(item, analysis.rewrittenText, error)) {
            Failure(item.path, error);
        }
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
        MboxMessage message;
        for (int index = 1; StopSignals::Requested() == 0 && reader.Next(message); ++index) {
            MessageAnalysis analysis = Analyze(item.path, index, message.text);
            if (rewrite && !rewritten.Write(message, analysis, error)) {
                Failure(item.path, error + "; the mailbox is left as it was");
                return;
            }
            progress.Update(summary.Messages(), bytesDone + reader.BytesRead());
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
};

int RunScan(const ParsedCommandLine& commandLine)
{
    if (commandLine.arguments.empty()) {
        std::cerr << kHelp;
        return kExitUsage;
    }
    std::unique_ptr<HostSession> session = OpenSession(commandLine);
    if (session == nullptr) {
        return kExitUsage;
    }
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
    Scan scan(*session, commandLine, totalBytes);
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
    {{"--json", false}, {"--rewrite", false}, {"--backup", false}, {"--lock-wait", true}},
    RunScan,
};
