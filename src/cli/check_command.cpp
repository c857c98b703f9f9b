#include <ostream>

#include "cli/command.h"
#include "cli/diagnostics.h"
#include "cli/standard_streams.h"
#include "mailbox/file_io.h"
#include "mailbox/leftovers.h"
#include "mailbox/stop_signals.h"
#include "cli/session_setup.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip check [--output DIR | --in-place [--no-backup]] FILE...\n"
    "Analyses each message file and prints the file, whether the analyzer rewrote it,\n"
    "the score and the findings lines. Files are left alone unless you ask:\n"
    "  --output DIR   write each rewritten message into DIR under its own file name\n"
    "  --in-place     replace each rewritten file (written beside it, synced, renamed),\n"
    "                 keeping the original as FILE.orig; a Maildir name's S= and W= sizes\n"
    "                 follow the new content, its flags and modification time stay\n"
    "  --no-backup    with --in-place, keep no FILE.orig\n"
    "With Active=0 in the settings nothing is analysed and each file shows \"inactive\".\n";

const char* Outcome(const MessageAnalysis& analysis)
{
    if (analysis.inactive) {
        return "inactive";
    }
    if (analysis.skipped != nullptr) {
        return "skipped";
    }
    if (!analysis.html) {
        return "not HTML";
    }
    return analysis.rewritten ? "rewritten" : "unchanged";
}

void PrintResult(const std::string& path, const MessageAnalysis& analysis)
{
    OutputStream() << path << ": " << Outcome(analysis) << ", score " << analysis.score << '\n'
                   << analysis.findings;
}

bool Store(const ParsedCommandLine& commandLine, const std::string& path, const std::string& text,
           std::string& error)
{
    if (commandLine.Has("--in-place")) {
        std::string backup = commandLine.Has("--no-backup") ? "" : path + ".orig";
        for (const std::string& removed : RemoveLeftovers(DirectoryOf(path), false)) {
            ErrorStream() << "tagstrip: " << removed << ": removed, left by a stopped run\n";
        }
        std::string replaced;
        bool stored = ReplaceFile(path, text, "", backup, error, &replaced);
        if (stored && replaced != path) {
            OutputStream() << path << ": renamed to " << FileNameOf(replaced) << '\n';
        }
        return stored;
    }
    std::string directory = commandLine.Value("--output");
    return MakeDirectories(directory, error) &&
           ReplaceFile(directory + "/" + FileNameOf(path), text, "", "", error);
}

bool CheckFile(const HostSession& session, const ParsedCommandLine& commandLine, const std::string& path)
{
    std::string message;
    std::string error;
    if (!ReadWholeFile(path, message, error)) {
        ReportError(path, error);
        return false;
    }
    MessageAnalysis analysis = session.Analyze(message, MessageAfterwards::NotNeeded);
    ReportWarnings(path, analysis);
    PrintResult(path, analysis);
    bool storing = commandLine.Has("--in-place") || commandLine.Has("--output");
    if (analysis.rewritten && storing && !Store(commandLine, path, analysis.rewrittenText, error)) {
        ReportError(path, error);
        return false;
    }
    return true;
}

int RunCheck(const ParsedCommandLine& commandLine)
{
    if (commandLine.arguments.empty() || (commandLine.Has("--in-place") && commandLine.Has("--output"))) {
        ErrorStream() << kHelp;
        return kExitUsage;
    }
    std::unique_ptr<HostSession> session = OpenSession(commandLine);
    if (session == nullptr) {
        return kExitUsage;
    }
    session->SetRewrittenTextWanted(commandLine.Has("--in-place") || commandLine.Has("--output"));
    bool allChecked = true;
    for (const std::string& path : commandLine.arguments) {
        if (StopSignals::Requested() != 0) {
            ErrorStream() << "tagstrip: stopped by " << StopSignals::Name(StopSignals::Requested()) << " before "
                          << path << '\n';
            return kExitMessageFailed;
        }
        allChecked &= CheckFile(*session, commandLine, path);
    }
    return allChecked ? kExitOk : kExitMessageFailed;
}

}  // namespace

const Command kCheckCommand = {
    "check",
    "analyse message files and show their score and findings",
    kHelp,
    {{"--output", true}, {"--in-place", false}, {"--no-backup", false}},
    RunCheck,
};
