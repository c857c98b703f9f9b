#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <new>
#include <optional>
#include <string_view>

#include "cli/command.h"
#include "cli/diagnostics.h"
#include "cli/filter_failure.h"
#include "cli/message_log.h"
#include "cli/message_spill.h"
#include "cli/session_setup.h"
#include "cli/standard_streams.h"
#include "cli/termination_cleanup.h"
#include "host/filtered_message.h"
#include "host/message_loan.h"
#include "host/message_text.h"
#include "host/plugin_settings.h"
#include "host/tagstrip_headers.h"
#include "mailbox/mbox_reader.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip filter [--exit-codes] [--max-size BYTES] [--syslog] < MESSAGE > RESULT\n"
    "Reads one message on standard input and writes it to standard output, rewritten\n"
    "when the analyzer removed something, with two headers added at the top:\n"
    "  X-Tagstrip-Score: the points the analyzer gave it\n"
    "  X-Tagstrip-Findings: the findings lines, each on a continuation line of its own\n"
    "                       starting with a tab; always present, empty when nothing\n"
    "                       was found. No header line is longer than 78 characters:\n"
    "                       a longer findings line folds before a blank, its further\n"
    "                       lines starting with a space. ASCII only: any other byte\n"
    "                       in a findings line is written as '?'.\n"
    "A message passed on without analysis (it holds a NUL byte, or it is larger than\n"
    "--max-size) gets \"X-Tagstrip-Skipped: nul-byte\" or \"... too-large\" instead.\n"
    "X-Tagstrip-* fields that came with the message are removed first. The headers use\n"
    "the message's own line ends; a leading \"From \" envelope line stays first.\n"
    "With Active=0 in the settings, messages pass unchanged and unanalysed, without headers.\n"
    "Empty input gives empty output.\n"
    "The filter never loses mail: whatever goes wrong (a bad option, missing settings,\n"
    "a module that will not load, an internal error, no memory, a failed write) the\n"
    "message goes out as it came, a one-line reason goes to standard error, and the\n"
    "exit status is 0, as a delivery agent that bounces on any other status needs.\n"
    "  --exit-codes      exit with the detailed status instead (for procmail's \"fw\",\n"
    "                    which keeps the original on failure): 64 bad usage, 69 the module\n"
    "                    would not load, 70 internal error, 74 reading or writing failed,\n"
    "                    75 out of memory, 78 the settings directory is missing. A message\n"
    "                    that could not be written whole always gives 74.\n"
    "  --max-size BYTES  larger messages go on unanalysed (default 10485760; 0: no limit);\n"
    "                    the filter then holds at most BYTES of the message in memory\n"
    "  --syslog          one line per message to syslog, facility mail: message id, size,\n"
    "                    result, score, categories found and removed, milliseconds\n";

constexpr std::size_t kDefaultMaxSize = 10 * 1024 * 1024;
constexpr std::size_t kLargestMaxSize = std::size_t(1) << 40;

bool ParseMaxSize(const ParsedCommandLine& commandLine, std::size_t& maxSize, std::string& error)
{
    std::string text = commandLine.Value("--max-size", std::to_string(kDefaultMaxSize));
    if (text.empty() || text.size() > 13 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoull(text) > kLargestMaxSize) {
        error = "--max-size takes a number of bytes, not '" + text + "'";
        return false;
    }
    maxSize = static_cast<std::size_t>(std::stoull(text));
    return true;
}

// The "From " envelope line that opens an mbox-style message, with its line end; or "".
std::string EnvelopeOf(const std::string& input)
{
    if (!IsFromLine(input)) {
        return std::string();
    }
    std::size_t lineEnd = input.find('\n');
    return input.substr(0, lineEnd == std::string::npos ? input.size() : lineEnd + 1);
}

// Memory ran out after the analysis had freed a message that cannot be read again, which
// it does only where nothing but the rewritten text would be written: the run can only
// fail.
struct MessageGone {};

// One run of the filter over the message on standard input.
class FilterRun {
public:
    FilterRun(bool exitCodes, bool syslog) : exitCodes(exitCodes), log(syslog) {}

    int Run(const ParsedCommandLine& commandLine)
    {
        std::size_t maxSize = 0;
        std::string error;
        bool usable = ParseMaxSize(commandLine, maxSize, error);
        InputRead read = InputRead::Failed;
        if (std::optional<int> status = ReadMessage(usable ? maxSize : kDefaultMaxSize, read)) {
            return *status;
        }
        if (!usable) {
            return PassOn(FilterFailure::Usage, error);
        }
        if (!commandLine.arguments.empty()) {
            return PassOn(FilterFailure::Usage, "filter reads the message on standard input and takes no file names");
        }
        if (read == InputRead::Truncated) {
            return PassOnTooLarge();
        }
        try {
            return FilterWithSettings(commandLine);
        } catch (const MessageGone&) {
            ErrorStream() << "tagstrip filter: out of memory once the analysis had rewritten the message; nothing was "
                         "written\n";
            return FailureStatus(FilterFailure::OutOfMemory);
        } catch (const std::bad_alloc&) {
            return PassOn(FilterFailure::OutOfMemory, "out of memory in the analysis");
        } catch (...) {
            return PassOn(FilterFailure::Internal, "the analysis failed");
        }
    }

    int RunAfterUsageError(const std::string& error)
    {
        InputRead read = InputRead::Failed;
        std::optional<int> status = ReadMessage(kDefaultMaxSize, read);
        return status ? *status : PassOn(FilterFailure::Usage, error);
    }

private:
    // Reads up to limit bytes of the message and removes the X-Tagstrip-* fields it came
    // with. The exit status when that ends the run (no message, or a failure), else none.
    std::optional<int> ReadMessage(std::size_t limit, InputRead& read)
    {
        try {
            read = ReadStandardInput(input, limit);
        } catch (const std::bad_alloc&) {
            return PassOn(FilterFailure::OutOfMemory, "out of memory while reading the message");
        }
        bytesRead = input.size();
        if (read == InputRead::Failed) {
            return PassOn(FilterFailure::Input, std::string("cannot read the whole message: ") + std::strerror(errno));
        }
        if (input.empty()) {
            return kExitOk;
        }
        RemoveTagstripHeaderFields(input);
        return std::nullopt;
    }

    int FilterWithSettings(const ParsedCommandLine& commandLine)
    {
        SettingsLocation location;
        std::string error;
        if (!FindSettings(commandLine, SettingsAccess::Read, location, error)) {
            return PassOn(FilterFailure::Settings, error);
        }
        const std::vector<std::string> modulePaths = ModulePaths(commandLine);
        WarnAboutSettings(modulePaths, location.directory);
        if (!AnyAnalyzerActive(modulePaths, location.directory)) {
            log.PassedOn(input, input.size(), "inactive");
            return Deliver({input});
        }
        TerminationCleanup cleanup;
        std::unique_ptr<HostSession> session = HostSession::Open(modulePaths, location.directory, error);
        if (session == nullptr) {
            return PassOn(FilterFailure::Module, error);
        }
        session->SetTransferDecoding(!commandLine.Has("--raw"));
        return Analyse(*session);
    }

    // The envelope line moves out of input, which then holds the message alone. A
    // rewritten message is needed afterwards only to start a failed write to a file
    // again; when that cannot be, or it can be read again from a file or a spill file,
    // the analysis may free it meanwhile.
    int Analyse(const HostSession& session)
    {
        envelope = EnvelopeOf(input);
        input.erase(0, envelope.size());
        const std::size_t size = envelope.size() + input.size();
        const char* lineEnd = LineEndOf(input);
        log.Identify(input);
        MessageAnalysis analysis = AnalyseLending(session);
        ReportWarnings("standard input", analysis);
        log.Analysed(input, size, analysis);
        return Deliver({envelope, PassedOnFields(analysis, lineEnd), PassedOnBody(analysis, input)});
    }

    // Running out of memory once a lent message is rewritten leaves nothing to pass on
    // when it cannot be had again.
    MessageAnalysis AnalyseLending(const HostSession& session)
    {
        const std::size_t size = input.size();
        const bool keep = outputStart.MayRewind() && !inputStart.MayReread() && !SpillInput();
        try {
            MessageAnalysis analysis =
                session.Analyze(input, keep ? MessageAfterwards::Needed : MessageAfterwards::NeededUnlessRewritten);
            inputGone = input.size() != size;
            return analysis;
        } catch (const std::bad_alloc&) {
            inputGone = input.size() != size;
            if (inputGone && !inputStart.MayReread() && !spill.Holds()) {
                throw MessageGone();
            }
            throw;
        }
    }

    // A message big enough to be lent, from standard input that cannot be read again,
    // goes to a spill file. Without one (no room, no temporary directory) it is kept.
    bool SpillInput() { return input.size() >= MessageLoan::kSmallestLent && spill.Write(input); }

    // The message as it came, read again when the analysis freed it.
    bool RecoverInput()
    {
        if (inputGone && (spill.Holds() ? spill.Read(input) : RereadInput())) {
            inputGone = false;
        }
        return !inputGone;
    }

    bool RereadInput()
    {
        std::string text;
        if (!inputStart.Reread(bytesRead, text)) {
            return false;
        }
        RemoveTagstripHeaderFields(text);
        input.assign(text, envelope.size(), std::string::npos);
        return true;
    }

    // Over --max-size: the part read so far with the Skipped field, then the rest as it
    // comes, so that the rest is never held in memory.
    int PassOnTooLarge()
    {
        std::string envelope = EnvelopeOf(input);
        MessageAnalysis analysis;
        analysis.skipped = &kSkippedTooLarge;
        std::string firstLine = input.substr(envelope.size(), input.find('\n', envelope.size()) + 1 - envelope.size());
        std::string head = envelope + FormatHeaderFields(TagstripHeaderFields(analysis), LineEndOf(firstLine));
        ReportWarnings("standard input", analysis);
        std::size_t size = input.size();
        if (WriteStandardOutput(head) && WriteStandardOutput(std::string_view(input).substr(envelope.size())) &&
            CopyRestOfInput(size)) {
            log.PassedOn(input, size, "skipped:too-large");
            return kExitOk;
        }
        return Lost(std::string("cannot pass the message on: ") + std::strerror(errno));
    }

    // The message as it came after a failure: what was read (without X-Tagstrip-* fields
    // when they could be removed), then whatever standard input still holds.
    int PassOn(FilterFailure failure, const std::string& reason)
    {
        ErrorStream() << "tagstrip filter: " << reason << "; the message goes on unchanged\n";
        RecoverInput();
        std::size_t size = envelope.size() + input.size();
        if (!WriteOriginal() || !CopyRestOfInput(size)) {
            return Lost(std::string("cannot write the message: ") + std::strerror(errno));
        }
        log.PassedOn(input, size, std::string("passed-on:") + FailureWord(failure));
        return exitCodes ? FailureStatus(failure) : kExitOk;
    }

    // Writes the result, its pieces one after the other; when that fails on a file,
    // starts again with the message as it came.
    int Deliver(std::initializer_list<std::string_view> output)
    {
        if (std::all_of(output.begin(), output.end(), WriteStandardOutput)) {
            return kExitOk;
        }
        std::string reason = std::string("cannot write the filtered message: ") + std::strerror(errno);
        if (!outputStart.Rewind()) {
            return Lost(reason);
        }
        ErrorStream() << "tagstrip filter: " << reason << "; writing the message unchanged instead\n";
        if (!WriteOriginal()) {
            return Lost(std::string("cannot write the message: ") + std::strerror(errno));
        }
        return exitCodes ? FailureStatus(FilterFailure::Output) : kExitOk;
    }

    bool WriteOriginal() { return RecoverInput() && WriteStandardOutput(envelope) && WriteStandardOutput(input); }

    // Nothing whole reached standard output: whatever the mode, the status must say so.
    int Lost(const std::string& reason)
    {
        ErrorStream() << "tagstrip filter: " << reason << '\n';
        return FailureStatus(FilterFailure::Output);
    }

    bool exitCodes;
    MessageLog log;
    InputStart inputStart;
    OutputStart outputStart;
    std::string envelope;  // once analysis begins, the "From " line taken off the input
    std::string input;     // the message as it came, X-Tagstrip-* fields removed
    std::size_t bytesRead = 0;  // of standard input, into input
    MessageSpill spill;         // input as the analysis began, when it came from a pipe
    bool inputGone = false;     // input freed by the analysis, and not read again
};

bool WantsExitCodes(const std::vector<std::string>& words)
{
    return std::find(words.begin(), words.end(), "--exit-codes") != words.end();
}

int RunFilter(const ParsedCommandLine& commandLine)
{
    signal(SIGXFSZ, SIG_IGN);
    FilterRun run(commandLine.Has("--exit-codes"), commandLine.Has("--syslog"));
    try {
        return run.Run(commandLine);
    } catch (const std::bad_alloc&) {
        ErrorStream() << "tagstrip filter: out of memory before the message was whole\n";
    }
    return FailureStatus(FilterFailure::OutOfMemory);
}

int RunFilterAfterUsageError(const std::vector<std::string>& words, const std::string& error)
{
    signal(SIGXFSZ, SIG_IGN);
    return FilterRun(WantsExitCodes(words), false).RunAfterUsageError(error);
}

}  // namespace

const Command kFilterCommand = {
    "filter",
    "filter one message from standard input to standard output",
    kHelp,
    {{"--exit-codes", false}, {"--max-size", true}, {"--syslog", false}},
    RunFilter,
    RunFilterAfterUsageError,
};
