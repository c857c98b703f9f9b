#ifndef TAGSTRIP_HOST_SETTINGS_CHECK_H
#define TAGSTRIP_HOST_SETTINGS_CHECK_H

#include <string>
#include <vector>

#include "host/analyzer_schema.h"

// One problem found in the plug-in's ini file. The plug-in itself reads the file as it
// always has (a missing key is its default, "abc" is 0); these are what a person who
// edited the file by hand should hear about.
struct SettingsProblem {
    std::string section;  // empty for a problem with the whole file
    std::string key;      // empty for the whole file or a whole section
    int line = 0;         // 1-based; 0 for the whole file
    bool badValue = false;  // a known key whose value is wrong
    std::string what;     // what is wrong, in a few words
    std::string text;     // "FILE:LINE: [Section] Key=value: " and what is wrong
};

// The keys the plug-in reads, each with its range, checked in the file at iniPath: the
// file unreadable, a section or key the plug-in does not know, a value that is not a
// whole number or lies out of range. A missing file has no problems.
std::vector<SettingsProblem> CheckPluginSettings(const std::string& iniPath);

// The same for the ini file of any analyzer the host knows.
std::vector<SettingsProblem> CheckAnalyzerSettings(const std::string& iniPath, const AnalyzerSchema& schema);

// The bad value of key in section, or null.
const SettingsProblem* FindProblem(const std::vector<SettingsProblem>& problems, const std::string& section,
                                   const std::string& key);

#endif
