#ifndef TAGSTRIP_CLI_COMMAND_H
#define TAGSTRIP_CLI_COMMAND_H

#include <string>
#include <vector>

#include "cli/command_line.h"

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitMessageFailed = 1;  // some file or message could not be handled
constexpr int kExitUsage = 2;          // bad command line, or the analyzer module could not be set up

// One subcommand. Every subcommand also accepts --config-dir, --module and --help.
struct Command {
    const char* name;
    const char* summary;
    const char* help;
    std::vector<OptionRule> options;
    int (*run)(const ParsedCommandLine& commandLine);
    // Run instead of printing the error when the command line is wrong, by a command
    // that must not fail that way (filter still passes the message on).
    int (*runAfterUsageError)(const std::vector<std::string>& words, const std::string& error) = nullptr;
};

extern const Command kCheckCommand;
extern const Command kFilterCommand;
extern const Command kScanCommand;
extern const Command kSettingsCommand;
extern const Command kConfigCommand;

#endif
