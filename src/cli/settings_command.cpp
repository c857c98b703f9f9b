#include <cstdio>
#include <ostream>
#include <unistd.h>

#include "cli/standard_streams.h"
#include "common/string_helpers.h"
#include "cli/command.h"
#include "cli/session_setup.h"
#include "host/analyzer_schema.h"
#include "host/plugin_settings.h"
#include "host/settings_check.h"
#include "platform/kernel/windows.h"
#include "remote/tracker_list.h"

namespace {

const char kHelp[] =
    "Usage: tagstrip settings [--analyzer NAME] [--set NAME=VALUE]... | --check\n"
    "Shows an analyzer's settings: the ini file, Active, the Flags word with the\n"
    "categories it removes, and the points per category ((default) marks defaults,\n"
    "\"<- bad:\" a value the analyzer cannot use as meant; unknown keys are listed).\n"
    "  --analyzer NAME   Tagstrip (the default, Tagstrip.ini) or Remote (Remote.ini)\n"
    "  --check           check the ini file instead: print each unreadable file, unknown\n"
    "                    section or key, value that is not a number or out of range, and\n"
    "                    exit 1 when there is any (0 when all is well)\n"
    "  --set NAME=VALUE  change one setting first; may be given more than once. NAME is\n"
    "                    Active (0 or 1), Flags (0 to 255; Remote 0 to 15), a points key\n"
    "                    such as PointsScript, or a category name such as Script (points\n"
    "                    0 to 99999).\n"
    "                    Names are matched in any letter case. The settings directory\n"
    "                    is created when missing, but not its parent.\n"
    "Categories and their Flags bits:\n"
    "  Tagstrip: Script 0x01, Formatting 0x02, ImagesExt 0x04, Links 0x08, ImagesInt 0x10,\n"
    "            ExternalRefs 0x20, WebBugs 0x40, ReadReceipts 0x80\n"
    "  Remote:   RemoteLoads 0x01, TrackingPixels 0x02, KnownTrackers 0x04, LinkTracking 0x08\n";

constexpr int kDefaultActive = 1;
constexpr int kHighestPoints = 99999;

struct SettingKey {
    std::string name;
    const char* section;
    const char* key;
    int highest;
};

std::vector<SettingKey> SettableKeys(const AnalyzerSchema& schema)
{
    std::vector<SettingKey> keys = {
        {"Active", "General", "Active", 1},
        {"Flags", "Settings", "Flags", schema.highestFlags},
    };
    for (const SchemaCategory& category : schema.categories) {
        keys.push_back({category.pointsKey, "Settings", category.pointsKey, kHighestPoints});
        keys.push_back({category.name, "Settings", category.pointsKey, kHighestPoints});
    }
    return keys;
}

struct Assignment {
    const char* section;
    const char* key;
    std::string value;
};

const SettingKey* FindKey(const std::vector<SettingKey>& keys, std::string name)
{
    ToLower(name);
    for (const SettingKey& key : keys) {
        std::string candidate = key.name;
        ToLower(candidate);
        if (candidate == name) {
            return &key;
        }
    }
    return nullptr;
}

bool ParseValue(const std::string& text, int highest, int& value)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value <= highest;
}

bool ParseAssignment(const AnalyzerSchema& schema, const std::string& text, Assignment& assignment,
                     std::string& error)
{
    const std::vector<SettingKey> keys = SettableKeys(schema);
    std::size_t equals = text.find('=');
    const SettingKey* key = FindKey(keys, text.substr(0, equals));
    int value = 0;
    if (equals == std::string::npos || key == nullptr) {
        error = "'" + text + "' is not NAME=VALUE with a known NAME";
    } else if (!ParseValue(text.substr(equals + 1), key->highest, value)) {
        error = "the value of " + key->name + " must be a whole number from 0 to " + std::to_string(key->highest);
    } else {
        assignment = {key->section, key->key, std::to_string(value)};
        return true;
    }
    return false;
}

std::string RemovedCategories(const AnalyzerSchema& schema, int flags)
{
    std::string names;
    for (const SchemaCategory& category : schema.categories) {
        if (flags & category.flagsBit) {
            names += (names.empty() ? "" : ", ") + std::string(category.name);
        }
    }
    return names.empty() ? "nothing" : names;
}

// "  <- bad: what is wrong" after a value with a problem, else "".
std::string Mark(const std::vector<SettingsProblem>& problems, const char* section, const char* key)
{
    const SettingsProblem* problem = FindProblem(problems, section, key);
    return problem == nullptr ? std::string() : "  <- bad: " + problem->what;
}

void PrintUnknownAndUnreadable(const std::vector<SettingsProblem>& problems)
{
    for (const SettingsProblem& problem : problems) {
        if (!problem.badValue) {
            OutputStream() << "Problem       " << problem.text << '\n';
        }
    }
}

void PrintSettings(const AnalyzerSchema& schema, const std::string& iniPath,
                   const std::vector<SettingsProblem>& problems)
{
    const char* path = iniPath.c_str();
    int flags = static_cast<int>(GetPrivateProfileIntA("Settings", "Flags", schema.defaultFlags, path));
    int active = static_cast<int>(GetPrivateProfileIntA("General", "Active", kDefaultActive, path));
    bool present = access(path, F_OK) == 0;
    OutputStream() << "Ini file      " << iniPath << (present ? "" : " (not there: the built-in settings apply)")
                   << '\n'
                   << "Active        " << active << Mark(problems, "General", "Active") << '\n'
                   << "Flags         " << flags << " (removes " << RemovedCategories(schema, flags) << ")"
                   << Mark(problems, "Settings", "Flags") << "\n"
                   << "Points\n";
    for (const SchemaCategory& category : schema.categories) {
        int points = static_cast<int>(GetPrivateProfileIntA("Settings", category.pointsKey, category.defaultPoints, path));
        char line[96];
        std::snprintf(line, sizeof line, "  %-14s%6d%s", category.name, points,
                      points == category.defaultPoints ? "  (default)" : "");
        OutputStream() << line << Mark(problems, "Settings", category.pointsKey) << '\n';
    }
    PrintUnknownAndUnreadable(problems);
}

// The Remote analyzer's own tracker table beside its ini file, which it reads too.
std::vector<std::string> TrackerTableProblems(const AnalyzerSchema& schema, const std::string& directory,
                                              std::size_t& ownPatterns)
{
    ownPatterns = 0;
    return std::string(schema.name) == "Remote" ? CheckOwnTrackers(directory, ownPatterns)
                                               : std::vector<std::string>();
}

void PrintTrackers(const AnalyzerSchema& schema, const std::string& directory)
{
    if (std::string(schema.name) != "Remote") {
        return;
    }
    std::size_t ownPatterns = 0;
    const std::vector<std::string> problems = TrackerTableProblems(schema, directory, ownPatterns);
    OutputStream() << "Trackers      the shipped list and " << ownPatterns << " pattern(s) of "
                   << directory + "/" + kOwnTrackersFile << '\n';
    for (const std::string& problem : problems) {
        OutputStream() << "Problem       " << problem << '\n';
    }
}

int CheckSettings(const AnalyzerSchema& schema, const std::string& iniPath, const std::string& directory,
                  const std::vector<SettingsProblem>& problems)
{
    for (const SettingsProblem& problem : problems) {
        OutputStream() << problem.text << '\n';
    }
    std::size_t ownPatterns = 0;
    const std::vector<std::string> trackerProblems = TrackerTableProblems(schema, directory, ownPatterns);
    for (const std::string& problem : trackerProblems) {
        OutputStream() << problem << '\n';
    }
    const bool clean = problems.empty() && trackerProblems.empty();
    if (clean) {
        OutputStream() << iniPath << ": all keys and values are known and in range\n";
    }
    return clean ? kExitOk : kExitMessageFailed;
}

int RunSettings(const ParsedCommandLine& commandLine)
{
    const AnalyzerSchema* schema = FindSchemaByName(commandLine.Value("--analyzer", "Tagstrip"));
    if (schema == nullptr) {
        ErrorStream() << "tagstrip settings: --analyzer is Tagstrip or Remote\n";
        return kExitUsage;
    }
    std::vector<Assignment> assignments;
    for (const std::string& text : commandLine.Values("--set")) {
        Assignment assignment;
        std::string error;
        if (!ParseAssignment(*schema, text, assignment, error)) {
            ErrorStream() << "tagstrip settings: " << error << '\n';
            return kExitUsage;
        }
        assignments.push_back(assignment);
    }
    SettingsLocation location;
    std::string error;
    if (!assignments.empty() && commandLine.Has("--check")) {
        ErrorStream() << "tagstrip settings: --check and --set do not go together\n";
        return kExitUsage;
    }
    SettingsAccess access = assignments.empty() ? SettingsAccess::Read : SettingsAccess::Write;
    if (!FindSettings(commandLine, access, location, error)) {
        ErrorStream() << "tagstrip: " << error << '\n';
        return kExitMessageFailed;
    }
    // The Tagstrip analyzer's ini file follows --module, as the module names it.
    std::string iniPath = schema == &KnownAnalyzers().front()
                              ? PluginIniPath(ModulePath(commandLine), location.directory)
                              : PluginIniPath(std::string(schema->name) + ".Analyzer", location.directory);
    for (const Assignment& assignment : assignments) {
        if (!WritePrivateProfileStringA(assignment.section, assignment.key, assignment.value.c_str(), iniPath.c_str())) {
            ErrorStream() << "tagstrip: " << iniPath << ": cannot write " << assignment.key << '\n';
            return kExitMessageFailed;
        }
    }
    std::vector<SettingsProblem> problems = CheckAnalyzerSettings(iniPath, *schema);
    if (commandLine.Has("--check")) {
        return CheckSettings(*schema, iniPath, location.directory, problems);
    }
    PrintSettings(*schema, iniPath, problems);
    PrintTrackers(*schema, location.directory);
    return kExitOk;
}

}  // namespace

const Command kSettingsCommand = {
    "settings",
    "show the analyzer's settings, or change them with --set",
    kHelp,
    {{"--set", true}, {"--check", false}, {"--analyzer", true}},
    RunSettings,
};
