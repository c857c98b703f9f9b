#ifndef TAGSTRIP_HOST_ANALYZER_MODULES_H
#define TAGSTRIP_HOST_ANALYZER_MODULES_H

#include <string>
#include <vector>

// Every "*.Analyzer" file in directory, by name: the modules a front end runs when it is
// not told which.
std::vector<std::string> AnalyzerModulesIn(const std::string& directory);

#endif
