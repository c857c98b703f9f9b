#ifndef TAGSTRIP_HOST_PLUGIN_SETTINGS_H
#define TAGSTRIP_HOST_PLUGIN_SETTINGS_H

#include <string>
#include <vector>

// The plug-in's ini file in directory, named as the plug-in names it: the module's file
// name with everything after its last '.' replaced by "ini" (Tagstrip.Analyzer gives
// Tagstrip.ini).
std::string PluginIniPath(const std::string& modulePath, const std::string& directory);

// [General] Active of the plug-in's ini file, read as the plug-in reads it (1 when
// missing). The plug-in only stores the flag; a host that finds it 0 passes messages on
// without analysing them.
bool AnalyzerActive(const std::string& iniPath);

// Whether any of the modules' analyzers is active, by their ini files in directory.
bool AnyAnalyzerActive(const std::vector<std::string>& modulePaths, const std::string& directory);

#endif
