#include "milter/milter_options.h"

#include <cerrno>
#include <cstdlib>
#include <getopt.h>
#include <iterator>
#include <vector>

#include "milter/process_control.h"

namespace {

const char kDefaultLocalNetworks[] = "127.0.0.0/8,::1/128";
const char kCommandLine[] = "command line";

using ApplyValue = bool (*)(MilterOptions& options, const std::string& value, std::string& error);

// An option takes a value through apply, or is a switch that sets *flag to setsTo.
struct OptionEntry {
    const char* name;
    char shortName;  // '\0' for none
    const char* valueName;  // null for a switch
    const char* help;
    OptionScope scope;
    bool isPath;
    ApplyValue apply;
    bool MilterOptions::*flag;
    bool setsTo;
};

bool ParseSize(const std::string& text, std::size_t& size)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    size = static_cast<std::size_t>(value);
    return errno == 0 && value > 0;
}

bool SetText(std::string& field, const std::string& value)
{
    field = value;
    return true;
}

const OptionEntry kOptions[] = {
    {"config", 'c', "FILE",
     "the configuration file, one 'option value' a line (see tagstrip-milter.conf(5));\n"
     "default /etc/tagstrip/milter.conf, which may be missing. The command line wins over it",
     OptionScope::CommandLineOnly, true,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.configFile, value); },
     nullptr, false},
    {"check-config", '\0', nullptr,
     "check the configuration file, the options and the skip lists, print each\n"
     "problem as FILE:LINE: problem and exit 1, or exit 0 silently",
     OptionScope::CommandLineOnly, false, nullptr, &MilterOptions::checkConfig, true},
    {"socket", 'p', "SOCKET",
     "where the MTA connects: unix:PATH (or local:PATH), inet:PORT@HOST or\n"
     "inet6:PORT@HOST; default unix:/run/tagstrip/milter.sock. A socket file left by\n"
     "a milter that died is replaced; one that still answers is an error",
     OptionScope::AtStart, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         options.socket = value;
         return ValidSocketName(value, error);
     },
     nullptr, false},
    {"socket-mode", '\0', "OCTAL", "mode of a Unix socket file; default 0660", OptionScope::AtStart, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (value.empty() || value.size() > 4 || value.find_first_not_of("01234567") != std::string::npos) {
             error = "wants an octal mode such as 0660, not '" + value + "'";
             return false;
         }
         options.socketMode = static_cast<unsigned>(std::stoul(value, nullptr, 8));
         return true;
     },
     nullptr, false},
    {"socket-group", '\0', "GROUP", "group of a Unix socket file (the MTA's, such as postfix)", OptionScope::AtStart,
     false,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.socketGroup, value); },
     nullptr, false},
    {"timeout", '\0', "SECONDS", "how long to wait for the MTA on a connection (libmilter's own); default 7210",
     OptionScope::AtStart, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         std::size_t seconds = 0;
         if (!ParseSize(value, seconds) || seconds > 86400) {
             error = "wants 1 to 86400 seconds, not '" + value + "'";
             return false;
         }
         options.timeout = static_cast<int>(seconds);
         return true;
     },
     nullptr, false},
    {"config-dir", '\0', "DIR", "directory of the settings (Tagstrip.ini)", OptionScope::Anywhere, true,
     [](MilterOptions& options, const std::string& value, std::string&) {
         return SetText(options.configDirectory, value);
     },
     nullptr, false},
    {"module", '\0', "PATH",
     "an analyzer module to run, in order; may be given more than once;\n"
     "default every *.Analyzer module in ../lib/tagstrip from this\n"
     "program's directory, else every one beside this program",
     OptionScope::Anywhere, true,
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.modulePaths.push_back(value);
         return true;
     },
     nullptr, false},
    {"max-size", '\0', "BYTES", "larger messages are passed on unchanged, with a log line; default 10485760",
     OptionScope::Anywhere, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (!ParseSize(value, options.maxSize)) {
             error = "wants a positive number of bytes, not '" + value + "'";
             return false;
         }
         return true;
     },
     nullptr, false},
    {"skip-authenticated", '\0', nullptr,
     "pass mail from SASL-authenticated clients ({auth_authen}) untouched (default)", OptionScope::Anywhere, false,
     nullptr, &MilterOptions::skipAuthenticated, true},
    {"no-skip-authenticated", '\0', nullptr, "filter mail from authenticated clients too", OptionScope::Anywhere,
     false, nullptr, &MilterOptions::skipAuthenticated, false},
    {"local-net", '\0', "LIST",
     "pass mail from these client networks untouched (CIDR, IPv4 and IPv6, commas\n"
     "between; \"\" for none); default 127.0.0.0/8,::1/128",
     OptionScope::Anywhere, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         return options.localNetworks.Parse(value, error);
     },
     nullptr, false},
    {"skip-from", '\0', "FILE",
     "pass mail from the senders in FILE untouched: one address, @domain,\n"
     "/regex/ or <> (the null sender) a line",
     OptionScope::Anywhere, true,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.skipFromFile, value); },
     nullptr, false},
    {"skip-to", '\0', "FILE",
     "pass a message untouched when every one of its recipients is in FILE\n"
     "(the same form as --skip-from)",
     OptionScope::Anywhere, true,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.skipToFile, value); },
     nullptr, false},
    {"mode", '\0', "rewrite|score",
     "rewrite (default): what tagstrip filter writes; score: only the X-Tagstrip\n"
     "fields change, the body and the read-receipt field never",
     OptionScope::Anywhere, false,
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (value != "rewrite" && value != "score") {
             error = "wants rewrite or score, not '" + value + "'";
             return false;
         }
         options.scoreOnly = value == "score";
         return true;
     },
     nullptr, false},
    {"keep-signed", '\0', nullptr,
     "in rewrite mode, score a message that carries a DKIM-Signature field but do\n"
     "not rewrite it, so that its signature still verifies; the findings say so",
     OptionScope::Anywhere, false, nullptr, &MilterOptions::keepSigned, true},
    {"foreground", 'f', nullptr, "stay in the foreground instead of becoming a daemon", OptionScope::AtStart, false,
     nullptr, &MilterOptions::foreground, true},
    {"pidfile", 'P', "FILE", "write the process id to FILE", OptionScope::AtStart, true,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.pidFile, value); },
     nullptr, false},
    {"user", 'u', "USER", "run as USER (and its group) once the socket is open", OptionScope::AtStart, false,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.user, value); },
     nullptr, false},
    {"log-file", '\0', "FILE", "log to FILE (\"-\": standard error) instead of syslog (facility mail)",
     OptionScope::AtStart, false,
     [](MilterOptions& options, const std::string& value, std::string&) { return SetText(options.logFile, value); },
     nullptr, false},
    {"help", 'h', nullptr, "this text", OptionScope::CommandLineOnly, false, nullptr, &MilterOptions::help, true},
    {"version", 'V', nullptr, "the version", OptionScope::CommandLineOnly, false, nullptr, &MilterOptions::version,
     true},
};

constexpr int kFirstLongOnlyCode = 256;

// What getopt_long answers for the option: its short name, or a code of its own.
int OptionCode(std::size_t position)
{
    char shortName = kOptions[position].shortName;
    return shortName != '\0' ? shortName : kFirstLongOnlyCode + static_cast<int>(position);
}

const OptionEntry* FindByCode(int code)
{
    for (std::size_t position = 0; position < std::size(kOptions); ++position) {
        if (OptionCode(position) == code) {
            return &kOptions[position];
        }
    }
    return nullptr;
}

// The name without letter case and word separators: SkipAuthenticated, skip_authenticated.
std::string Folded(const std::string& name)
{
    std::string folded;
    for (char letter : name) {
        if (letter != '-' && letter != '_') {
            folded += static_cast<char>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
        }
    }
    return folded;
}

const OptionEntry* FindByName(const std::string& spelled)
{
    for (const OptionEntry& entry : kOptions) {
        if (Folded(entry.name) == Folded(spelled)) {
            return &entry;
        }
    }
    return nullptr;
}

struct BooleanWord {
    const char* word;
    bool value;
};

const BooleanWord kBooleanWords[] = {
    {"", true}, {"yes", true}, {"true", true}, {"on", true}, {"1", true},
    {"no", false}, {"false", false}, {"off", false}, {"0", false},
};

bool ParseBoolean(const std::string& text, bool& value)
{
    for (const BooleanWord& word : kBooleanWords) {
        if (Folded(text) == word.word) {
            value = word.value;
            return true;
        }
    }
    return false;
}

bool ApplyEntry(MilterOptions& options, const OptionEntry& entry, const std::string& value, std::string& error)
{
    if (entry.apply != nullptr) {
        return entry.apply(options, value, error);
    }
    bool on = true;
    if (!ParseBoolean(value, on)) {
        error = "wants yes or no, not '" + value + "'";
        return false;
    }
    options.*entry.flag = on ? entry.setsTo : !entry.setsTo;
    return true;
}

bool ValidPort(const std::string& port)
{
    std::size_t number = 0;
    return ParseSize(port, number) && number <= 65535;
}

}  // namespace

bool LookUpOption(const std::string& spelled, OptionFacts& facts)
{
    const OptionEntry* entry = FindByName(spelled);
    if (entry == nullptr) {
        return false;
    }
    facts = {entry->name, entry->scope, entry->valueName == nullptr, entry->isPath};
    return true;
}

std::vector<std::string> OptionNames(OptionScope scope)
{
    std::vector<std::string> names;
    for (const OptionEntry& entry : kOptions) {
        if (entry.scope == scope) {
            names.push_back(entry.name);
        }
    }
    return names;
}

bool ValidSocketName(const std::string& name, std::string& error)
{
    std::size_t colon = name.find(':');
    std::string kind = colon == std::string::npos ? "" : name.substr(0, colon);
    std::string rest = colon == std::string::npos ? "" : name.substr(colon + 1);
    if ((kind == "unix" || kind == "local") && !rest.empty()) {
        return true;
    }
    if (kind == "inet" || kind == "inet6") {
        std::size_t at = rest.find('@');
        if (ValidPort(rest.substr(0, at)) && (at == std::string::npos || at + 1 < rest.size())) {
            return true;
        }
    }
    error = "bad socket '" + name + "': give unix:PATH, local:PATH, inet:PORT@HOST or inet6:PORT@HOST";
    return false;
}

MilterOptions DefaultMilterOptions()
{
    MilterOptions options;
    std::string error;
    options.localNetworks.Parse(kDefaultLocalNetworks, error);
    options.configFile = TAGSTRIP_SYSTEM_CONFIG_DIR "/milter.conf";
    return options;
}

bool ApplyOption(MilterOptions& options, const OptionSetting& setting, std::string& error)
{
    const OptionEntry* entry = FindByName(setting.name);
    if (entry == nullptr) {
        error = "unknown option " + setting.name;
        return false;
    }
    if (ApplyEntry(options, *entry, setting.value, error)) {
        return true;
    }
    error = (setting.origin == kCommandLine ? "--" : "") + std::string(entry->name) + ": " + error;
    return false;
}

bool ReadCommandLine(int argc, char** argv, std::vector<OptionSetting>& settings, std::string& error)
{
    std::string shortOptions = ":";
    std::vector<option> longOptions;
    for (std::size_t position = 0; position < std::size(kOptions); ++position) {
        const OptionEntry& entry = kOptions[position];
        if (entry.shortName != '\0') {
            shortOptions += entry.shortName;
            shortOptions += entry.valueName != nullptr ? ":" : "";
        }
        longOptions.push_back({entry.name, entry.valueName != nullptr ? required_argument : no_argument, nullptr,
                               OptionCode(position)});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});
    optind = 1;
    opterr = 0;
    MilterOptions checked = DefaultMilterOptions();
    int found;
    while ((found = getopt_long(argc, argv, shortOptions.c_str(), longOptions.data(), nullptr)) != -1) {
        const OptionEntry* entry = FindByCode(found);
        if (found == ':') {
            error = std::string("option ") + argv[optind - 1] + " wants a value";
            return false;
        }
        if (entry == nullptr) {
            error = std::string("unknown option ") + argv[optind - 1];
            return false;
        }
        std::string value = optarg != nullptr ? optarg : "";
        settings.push_back({entry->name, entry->isPath ? Absolute(value) : value, kCommandLine});
        if (!ApplyOption(checked, settings.back(), error)) {
            return false;
        }
    }
    if (optind < argc) {
        error = std::string("unexpected argument '") + argv[optind] + "'";
        return false;
    }
    return true;
}

bool ParseMilterOptions(int argc, char** argv, MilterOptions& options, std::string& error)
{
    std::vector<OptionSetting> settings;
    if (!ReadCommandLine(argc, argv, settings, error)) {
        return false;
    }
    for (const OptionSetting& setting : settings) {
        ApplyOption(options, setting, error);
    }
    return true;
}

std::string MilterHelp()
{
    std::string help =
        "Usage: tagstrip-milter [OPTIONS]\n"
        "Scores the HTML of every message an MTA (Postfix, Sendmail) passes through the\n"
        "milter protocol, adds X-Tagstrip-Score and X-Tagstrip-Findings, and removes the\n"
        "content chosen in the settings, as 'tagstrip filter' does. It never rejects or\n"
        "delays mail: on any failure, and for messages over --max-size, the message goes\n"
        "on unchanged and a log line says why.\n\nOptions:\n";
    for (const OptionEntry& entry : kOptions) {
        std::string names = entry.shortName != '\0' ? std::string("  -") + entry.shortName + ", --" : "      --";
        names += entry.name;
        if (entry.valueName != nullptr) {
            names += std::string(" ") + entry.valueName;
        }
        help += names + "\n";
        std::string text = entry.help;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end;
            help += "      " + text.substr(start, end - start) + "\n";
            start = end + 1;
        }
    }
    help +=
        "\nEvery option but --config, --check-config, --help and --version may also be\n"
        "given in the configuration file.\n"
        "Signals: SIGTERM (or SIGINT) stops taking new messages, finishes those in flight\n"
        "and exits. SIGHUP reads the configuration file, the skip lists and the settings\n"
        "again: messages that start afterwards use them, messages already being analysed\n"
        "finish with the old ones.\n"
        "Exit status: 0 after a clean stop, 1 on a failure at start or a bad\n"
        "configuration, 2 on bad usage.\n";
    return help;
}
