#ifndef TAGSTRIP_HOST_ANALYZER_MODULES_H
#define TAGSTRIP_HOST_ANALYZER_MODULES_H

#include <string>
#include <vector>

// The directory of the running program, read from /proc/self/exe.
std::string RunningProgramDirectory();

// Where a front end looks for analyzer modules when it is not told which, in order: the
// installed private directory (lib/tagstrip beside the program's bin or sbin), then
// beside the program (a build tree, or programs kept together). An installed program's
// own directory is /usr/bin, thousands of entries, so it is listed only when there is
// no private directory with modules in it.
std::vector<std::string> ModuleDirectories(const std::string& programDirectory);

// Every "*.Analyzer" file in directory, by name.
std::vector<std::string> AnalyzerModulesIn(const std::string& directory);

// The modules a front end runs when it is not told which: those of the first of
// ModuleDirectories that holds any; empty when none does.
std::vector<std::string> FindAnalyzerModules(const std::string& programDirectory);

// One module by its file name, from the first of ModuleDirectories that holds it; when
// none does, the installed place, so that an error names where it belongs.
std::string FindModule(const std::string& programDirectory, const std::string& fileName);

#endif
