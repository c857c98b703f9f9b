#ifndef TAGSTRIP_HOST_ANALYZER_SCHEMA_H
#define TAGSTRIP_HOST_ANALYZER_SCHEMA_H

#include <string>
#include <vector>

// What the host knows of an analyzer's ini file, to show, change and check it: the
// categories with their points keys and Flags bits, and the range of the Flags word.
struct SchemaCategory {
    const char* name;
    const char* pointsKey;
    int defaultPoints;
    int flagsBit;
};

struct AnalyzerSchema {
    const char* name;         // the analyzer's name
    const char* iniFileName;  // its ini file in the settings directory
    int defaultFlags;
    int highestFlags;
    std::vector<SchemaCategory> categories;  // in the analyzer's category order
};

// Tagstrip first, then Remote.
const std::vector<AnalyzerSchema>& KnownAnalyzers();

// By analyzer name in any letter case, or by the file name of an ini path; null when unknown.
const AnalyzerSchema* FindSchemaByName(const std::string& name);
const AnalyzerSchema* FindSchemaByIni(const std::string& iniPath);

#endif
