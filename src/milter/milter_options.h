#ifndef TAGSTRIP_MILTER_MILTER_OPTIONS_H
#define TAGSTRIP_MILTER_MILTER_OPTIONS_H

#include <cstddef>
#include <string>
#include <vector>

#include "milter/network_list.h"

struct MilterOptions {
    std::string socket = "unix:/run/tagstrip/milter.sock";
    std::string configDirectory;  // empty: the usual search for the settings directory
    std::vector<std::string> modulePaths;  // empty: every *.Analyzer module beside the program
    unsigned socketMode = 0660;
    std::string socketGroup;
    int timeout = 7210;  // seconds, libmilter's own default
    std::size_t maxSize = 10 * 1024 * 1024;
    bool skipAuthenticated = true;  // mail from SASL-authenticated clients passes untouched
    NetworkList localNetworks;       // mail from these client addresses passes untouched
    bool scoreOnly = false;   // --mode score: our fields only, the text never changes
    bool keepSigned = false;  // a DKIM-signed message is scored, not rewritten
    bool foreground = false;
    std::string pidFile;
    std::string user;
    std::string logFile;  // empty: syslog
    bool help = false;
    bool version = false;
};

// Parses the command line in the usual milter style (-p SOCKET or --socket SOCKET,
// --name=VALUE too). False with error set on a bad option or value.
// Sets the defaults that need parsing (the local networks).
MilterOptions DefaultMilterOptions();

bool ParseMilterOptions(int argc, char** argv, MilterOptions& options, std::string& error);

// A socket as libmilter names it: unix:PATH, local:PATH, inet:PORT@HOST or
// inet6:PORT@HOST.
bool ValidSocketName(const std::string& name, std::string& error);

std::string MilterHelp();

#endif
