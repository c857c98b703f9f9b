#include "milter/milter_options.h"

#include <cerrno>
#include <cstdlib>
#include <getopt.h>
#include <iterator>
#include <vector>

namespace {

const char kDefaultLocalNetworks[] = "127.0.0.0/8,::1/128";

using ApplyOption = bool (*)(MilterOptions& options, const std::string& value, std::string& error);

struct OptionEntry {
    const char* name;
    char shortName;  // '\0' for none
    const char* valueName;  // null for a switch
    const char* help;
    ApplyOption apply;
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

const OptionEntry kOptions[] = {
    {"socket", 'p', "SOCKET",
     "where the MTA connects: unix:PATH (or local:PATH), inet:PORT@HOST or\n"
     "inet6:PORT@HOST; default unix:/run/tagstrip/milter.sock. A socket file left by\n"
     "a milter that died is replaced; one that still answers is an error",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         options.socket = value;
         return ValidSocketName(value, error);
     }},
    {"socket-mode", '\0', "OCTAL", "mode of a Unix socket file; default 0660",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (value.empty() || value.size() > 4 || value.find_first_not_of("01234567") != std::string::npos) {
             error = "--socket-mode wants an octal mode such as 0660, not '" + value + "'";
             return false;
         }
         options.socketMode = static_cast<unsigned>(std::stoul(value, nullptr, 8));
         return true;
     }},
    {"socket-group", '\0', "GROUP", "group of a Unix socket file (the MTA's, such as postfix)",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.socketGroup = value;
         return true;
     }},
    {"timeout", '\0', "SECONDS", "how long to wait for the MTA on a connection (libmilter's own); default 7210",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         std::size_t seconds = 0;
         if (!ParseSize(value, seconds) || seconds > 86400) {
             error = "--timeout wants 1 to 86400 seconds, not '" + value + "'";
             return false;
         }
         options.timeout = static_cast<int>(seconds);
         return true;
     }},
    {"config-dir", '\0', "DIR", "directory of the settings (Tagstrip.ini)",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.configDirectory = value;
         return true;
     }},
    {"module", '\0', "PATH",
     "an analyzer module to run, in order; may be given more than once;\n"
     "default every *.Analyzer module beside this program, else every one\n"
     "in ../lib/tagstrip from this program's directory",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.modulePaths.push_back(value);
         return true;
     }},
    {"max-size", '\0', "BYTES",
     "larger messages are passed on unchanged, with a log line; default 10485760",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (!ParseSize(value, options.maxSize)) {
             error = "--max-size wants a positive number of bytes, not '" + value + "'";
             return false;
         }
         return true;
     }},
    {"skip-authenticated", '\0', nullptr,
     "pass mail from SASL-authenticated clients ({auth_authen}) untouched (default)",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.skipAuthenticated = true;
         return true;
     }},
    {"no-skip-authenticated", '\0', nullptr, "filter mail from authenticated clients too",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.skipAuthenticated = false;
         return true;
     }},
    {"local-net", '\0', "LIST",
     "pass mail from these client networks untouched (CIDR, IPv4 and IPv6, commas\n"
     "between; \"\" for none); default 127.0.0.0/8,::1/128",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (!options.localNetworks.Parse(value, error)) {
             error = "--local-net: " + error;
             return false;
         }
         return true;
     }},
    {"mode", '\0', "rewrite|score",
     "rewrite (default): what tagstrip filter writes; score: only the X-Tagstrip\n"
     "fields change, the body and the read-receipt field never",
     [](MilterOptions& options, const std::string& value, std::string& error) {
         if (value != "rewrite" && value != "score") {
             error = "--mode is rewrite or score, not '" + value + "'";
             return false;
         }
         options.scoreOnly = value == "score";
         return true;
     }},
    {"keep-signed", '\0', nullptr,
     "in rewrite mode, score a message that carries a DKIM-Signature field but do\n"
     "not rewrite it, so that its signature still verifies; the findings say so",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.keepSigned = true;
         return true;
     }},
    {"foreground", 'f', nullptr, "stay in the foreground instead of becoming a daemon",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.foreground = true;
         return true;
     }},
    {"pidfile", 'P', "FILE", "write the process id to FILE",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.pidFile = value;
         return true;
     }},
    {"user", 'u', "USER", "run as USER (and its group) once the socket is open",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.user = value;
         return true;
     }},
    {"log-file", '\0', "FILE", "log to FILE (\"-\": standard error) instead of syslog (facility mail)",
     [](MilterOptions& options, const std::string& value, std::string&) {
         options.logFile = value;
         return true;
     }},
    {"help", 'h', nullptr, "this text",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.help = true;
         return true;
     }},
    {"version", 'V', nullptr, "the version",
     [](MilterOptions& options, const std::string&, std::string&) {
         options.version = true;
         return true;
     }},
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

bool ValidPort(const std::string& port)
{
    std::size_t number = 0;
    return ParseSize(port, number) && number <= 65535;
}

}  // namespace

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
    return options;
}

bool ParseMilterOptions(int argc, char** argv, MilterOptions& options, std::string& error)
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
        if (!entry->apply(options, optarg != nullptr ? optarg : "", error)) {
            return false;
        }
    }
    if (optind < argc) {
        error = std::string("unexpected argument '") + argv[optind] + "'";
        return false;
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
        "\nSignals: SIGTERM (or SIGINT) stops taking new messages, finishes those in flight\n"
        "and exits. SIGHUP reads the settings again: messages that start afterwards use\n"
        "them, messages already being analysed finish with the old ones.\n"
        "Exit status: 0 after a clean stop, 1 on a failure at start, 2 on bad usage.\n";
    return help;
}
