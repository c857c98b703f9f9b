#ifndef TAGSTRIP_MILTER_MILTER_OPTIONS_H
#define TAGSTRIP_MILTER_MILTER_OPTIONS_H

#include <cstddef>
#include <string>
#include <vector>

#include "milter/address_list.h"
#include "milter/network_list.h"

struct MilterOptions {
    std::string socket = "unix:/run/tagstrip/milter.sock";
    std::string configDirectory;  // empty: the usual search for the settings directory
    std::vector<std::string> modulePaths;  // empty: the modules FindAnalyzerModules finds
    unsigned socketMode = 0660;
    std::string socketGroup;
    int timeout = 7210;  // seconds, libmilter's own default
    std::size_t maxSize = 10 * 1024 * 1024;
    bool skipAuthenticated = true;  // mail from SASL-authenticated clients passes untouched
    NetworkList localNetworks;       // mail from these client addresses passes untouched
    std::string skipFromFile;        // senders whose mail passes untouched
    std::string skipToFile;          // recipients who, when all of a message's are, let it pass untouched
    AddressList skipFrom;            // read from skipFromFile
    AddressList skipTo;              // read from skipToFile
    bool scoreOnly = false;   // --mode score: our fields only, the text never changes
    bool keepSigned = false;  // a DKIM-signed message is scored, not rewritten
    bool foreground = false;
    std::string pidFile;
    std::string user;
    std::string logFile;  // empty: syslog
    std::string configFile;  // the default set by DefaultMilterOptions
    bool checkConfig = false;
    bool help = false;
    bool version = false;
};

// Where an option may be given, and when a new value takes effect.
enum class OptionScope {
    Anywhere,         // on the command line or in the file; read again on SIGHUP
    AtStart,          // on the command line or in the file; a new value needs a restart
    CommandLineOnly,  // --help, --config and the like
};

// One option as given: its long name, its value ("" for a switch on the command line;
// yes or no in the file) and where it was given ("FILE:LINE" or "command line").
struct OptionSetting {
    std::string name;
    std::string value;
    std::string origin;
};

// What the table knows of an option spelled as an admin may write it in the file: any
// letter case, '-' or '_' between words or neither (skip-authenticated, SkipAuthenticated).
struct OptionFacts {
    std::string name;  // the long option name
    OptionScope scope;
    bool isSwitch;
    bool isPath;  // a relative value is taken from where it was given
};
bool LookUpOption(const std::string& spelled, OptionFacts& facts);
std::vector<std::string> OptionNames(OptionScope scope);

// The defaults that need parsing (the local networks) or come from the build (the file).
MilterOptions DefaultMilterOptions();

// The command line in the usual milter style (-p SOCKET or --socket SOCKET, --name=VALUE
// too), as settings in their order, relative paths made absolute; each value is checked.
// False with error set on a bad option or value.
bool ReadCommandLine(int argc, char** argv, std::vector<OptionSetting>& settings, std::string& error);

// Puts one setting into options. A switch takes "" (on), or yes/no, true/false, on/off, 1/0.
bool ApplyOption(MilterOptions& options, const OptionSetting& setting, std::string& error);

// ReadCommandLine, then every setting applied to options.
bool ParseMilterOptions(int argc, char** argv, MilterOptions& options, std::string& error);

// A socket as libmilter names it: unix:PATH, local:PATH, inet:PORT@HOST or
// inet6:PORT@HOST.
bool ValidSocketName(const std::string& name, std::string& error);

std::string MilterHelp();

#endif
