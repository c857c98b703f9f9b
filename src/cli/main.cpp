#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <ostream>

#include "cli/command.h"
#include "cli/standard_streams.h"
#include "host/analyzer_modules.h"
#include "tagstrip/version.h"
#include "mailbox/stop_signals.h"
#include "platform/kernel/private_temp_directory.h"

namespace {

const Command* const kCommands[] = {
    &kCheckCommand, &kFilterCommand, &kScanCommand, &kSettingsCommand, &kConfigCommand,
};

// Commands that write mailboxes stop between two steps on SIGTERM, SIGINT and SIGHUP.
const Command* const kStoppableCommands[] = {&kCheckCommand, &kScanCommand};
// The filter makes its own private temporary directory, removed on those signals too.
const Command* const kOwnTemporaryDirectory[] = {&kFilterCommand};
// Run once per message: they look for abandoned directories only when one may be left.
const Command* const kSweepOnlyAfterMade[] = {&kFilterCommand};

template <std::size_t Count>
bool Listed(const Command* const (&commands)[Count], const Command* command)
{
    return std::find(std::begin(commands), std::end(commands), command) != std::end(commands);
}

const std::vector<OptionRule> kCommonOptions = {
    {"--config-dir", true},
    {"--module", true},
    {"--raw", false},
    {"--help", false},
};

const char kCommonHelp[] =
    "Options of every command:\n"
    "  --config-dir DIR  directory of the settings (Tagstrip.ini); else $TAGSTRIP_CONFIG_DIR,\n"
    "                    else $XDG_CONFIG_HOME/tagstrip or ~/.config/tagstrip when it exists,\n"
    "                    else /etc/tagstrip when it exists, else the built-in settings.\n"
    "                    Only settings --set and config create it (its last part only)\n"
    "  --module PATH     an analyzer module to run; may be given more than once; default\n"
    "                    every *.Analyzer module in ../lib/tagstrip from this program's\n"
    "                    directory, else every one beside this program, in the order of\n"
    "                    section AnalyzerOrder of tagstrip.ini in the settings directory\n"
    "  --raw             analyse HTML parts as they stand, as the analyzers alone would; by\n"
    "                    default quoted-printable and base64 HTML parts are decoded for\n"
    "                    the analysis and encoded again in the rewritten message\n"
    "  --help            this text\n";

void PrintProgramHelp(std::ostream& out)
{
    out << "Usage: tagstrip COMMAND [OPTIONS] [ARGUMENTS]\n"
           "Scores HTML mail and strips the content you chose, through the Tagstrip analyzer.\n\n"
           "Commands:\n";
    for (const Command* command : kCommands) {
        out << "  " << command->name << std::string(10 - std::strlen(command->name), ' ')
            << command->summary << '\n';
    }
    out << "\n" << kCommonHelp
        << "\nExit status: 0 all well, 1 a file or message failed, 2 bad usage or the module\n"
           "could not be loaded. filter exits 0 whenever the message went on (see its --help).\n"
           "Run 'tagstrip COMMAND --help' for a command's own options; 'tagstrip --version'\n"
           "for the version and the analyzer modules it would run.\n";
}

void PrintVersion(std::ostream& out)
{
    out << "tagstrip " TAGSTRIP_VERSION "\n";
    for (const std::string& module : FindAnalyzerModules(RunningProgramDirectory())) {
        out << "module: " << module << '\n';
    }
}

const Command* FindCommand(const std::string& name)
{
    for (const Command* command : kCommands) {
        if (name == command->name) {
            return command;
        }
    }
    return nullptr;
}

int RunCommand(const Command& command, const std::vector<std::string>& words)
{
    std::vector<OptionRule> rules = kCommonOptions;
    rules.insert(rules.end(), command.options.begin(), command.options.end());
    ParsedCommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(words, rules, commandLine, error)) {
        if (command.runAfterUsageError != nullptr) {
            return command.runAfterUsageError(words, error);
        }
        ErrorStream() << "tagstrip " << command.name << ": " << error << "\n"
                      << "Run 'tagstrip " << command.name << " --help' for its options.\n";
        return kExitUsage;
    }
    if (commandLine.Has("--help")) {
        OutputStream() << command.help << '\n' << kCommonHelp;
        return kExitOk;
    }
    return command.run(commandLine);
}

int Run(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        PrintProgramHelp(argc < 2 ? ErrorStream() : OutputStream());
        return argc < 2 ? kExitUsage : kExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        PrintVersion(OutputStream());
        return kExitOk;
    }
    const Command* command = FindCommand(argv[1]);
    if (command == nullptr) {
        ErrorStream() << "tagstrip: unknown command '" << argv[1] << "'\n";
        PrintProgramHelp(ErrorStream());
        return kExitUsage;
    }
    if (Listed(kStoppableCommands, command)) {
        StopSignals::Install();
    }
    // The analyzer's temporary files go to a directory of this process's own, which a
    // later run removes if this one is killed.
    if (Listed(kSweepOnlyAfterMade, command)) {
        PrivateTempDirectory::RemoveAbandonedIfAnyMade();
    } else {
        PrivateTempDirectory::RemoveAbandoned();
    }
    PrivateTempDirectory temporary;
    std::string error;
    if (!Listed(kOwnTemporaryDirectory, command)) {
        temporary.Create(error);
    }
    return RunCommand(*command, std::vector<std::string>(argv + 2, argv + argc));
}

// glibc maps every block of 128 KiB or more afresh, page faults and all, until the first
// such block is freed; that raises the limit to the block's size, and the heap's idle top
// it keeps to twice that. When that happens depends on a run's first allocations (in an
// mbox scan, on whether the first chunk read ends inside a line): the same messages took
// 7% longer when it did not. So the limits are set as they would stand after a 1 MiB
// block was freed.
void SetAllocatorLimits()
{
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 2 << 20);
}

int RunGuarded(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& failure) {
        ErrorStream() << "tagstrip: " << failure.what() << '\n';
    } catch (...) {
        ErrorStream() << "tagstrip: unexpected failure\n";
    }
    return kExitMessageFailed;
}

// By the time a command returns, its files are closed, its threads joined and its
// temporary files gone. What exit does besides flushing the C library's open files (static
// destructors, the libraries' own clean-up) has nothing left to do, and costs a filter run
// 20 microseconds. Under a sanitizer the process exits as usual, so that the sanitizer's
// checks at exit still run.
[[noreturn]] void EndProcess(int status)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    std::exit(status);
#else
    std::fflush(nullptr);
    _exit(status);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    SetAllocatorLimits();
    int status = RunGuarded(argc, argv);
    StopSignals::EndByRequestedSignal();
    EndProcess(status);
}
