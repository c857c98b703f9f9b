#include <cerrno>
#include <iostream>
#include <unistd.h>

#include "cli/command.h"
#include "cli/diagnostics.h"
#include "mailbox/mbox_reader.h"
#include "host/message_text.h"
#include "host/tagstrip_headers.h"
#include "cli/session_setup.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip filter < MESSAGE > RESULT\n"
    "Reads one message on standard input and writes it to standard output, rewritten\n"
    "when the analyzer removed something, with two headers added at the top:\n"
    "  X-Tagstrip-Score: the points the analyzer gave it\n"
    "  X-Tagstrip-Findings: the findings lines, one per folded continuation line;\n"
    "                       always present, empty when nothing was found\n"
    "The headers use the message's own line ends. A leading \"From \" envelope line\n"
    "stays first. If anything goes wrong, the message is written unchanged, without\n"
    "the headers, and the exit status is 75 (EX_TEMPFAIL): the filter never loses mail.\n";

bool ReadStandardInput(std::string& message)
{
    char chunk[1 << 16];
    for (;;) {
        ssize_t count = read(STDIN_FILENO, chunk, sizeof chunk);
        if (count == 0) {
            return true;
        }
        if (count < 0 && errno != EINTR) {
            return false;
        }
        if (count > 0) {
            message.append(chunk, static_cast<std::size_t>(count));
        }
    }
}

bool WriteStandardOutput(const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t count = write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (count < 0 && errno != EINTR) {
            return false;
        }
        written += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return true;
}

std::string FilterMessage(const HostSession& session, const std::string& original)
{
    std::string envelope;
    if (IsFromLine(original)) {
        std::size_t lineEnd = original.find('\n');
        envelope = original.substr(0, lineEnd == std::string::npos ? original.size() : lineEnd + 1);
    }
    std::string message = original.substr(envelope.size());
    RemoveTagstripHeaderFields(message);
    MessageAnalysis analysis = session.Analyze(message);
    WarnIfSkipped("standard input", analysis);
    return envelope + FormatHeaderFields(TagstripHeaderFields(analysis), LineEndOf(message)) +
           (analysis.rewritten ? analysis.rewrittenText : message);
}

int RunFilter(const ParsedCommandLine& commandLine)
{
    std::string original;
    bool readAll = ReadStandardInput(original);
    std::string output = original;
    int status = kExitTempFail;
    try {
        std::unique_ptr<HostSession> session;
        if (!readAll) {
            ReportError("standard input", "cannot read the whole message");
        } else if ((session = OpenSession(commandLine)) != nullptr) {
            output = FilterMessage(*session, original);
            status = kExitOk;
        }
    } catch (...) {
        ReportError("standard input", "the analysis failed");
        output = original;
        status = kExitTempFail;
    }
    return WriteStandardOutput(output) ? status : kExitTempFail;
}

}  // namespace

const Command kFilterCommand = {
    "filter",
    "filter one message from standard input to standard output",
    kHelp,
    {},
    RunFilter,
};
