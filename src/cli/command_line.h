#ifndef TAGSTRIP_CLI_COMMAND_LINE_H
#define TAGSTRIP_CLI_COMMAND_LINE_H

#include <map>
#include <string>
#include <vector>

struct OptionRule {
    const char* name;  // with its leading "--"
    bool takesValue;
    char shortName = '\0';  // also given as "-x VALUE" or "-xVALUE"; none when NUL
};

// A subcommand's words after parsing: options (each with every value given, in order)
// and the remaining arguments.
struct ParsedCommandLine {
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> arguments;

    bool Has(const std::string& name) const;
    // The last value given, or fallback.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
    std::vector<std::string> Values(const std::string& name) const;
};

// Accepts "--name VALUE", "--name=VALUE", the short forms of options that have one, and
// "--" before arguments that start with "-". Any other word that starts with a single "-"
// is an argument.
bool ParseCommandLine(const std::vector<std::string>& words, const std::vector<OptionRule>& rules,
                      ParsedCommandLine& parsed, std::string& error);

#endif
