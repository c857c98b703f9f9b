#include "host/analyzer_modules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/common/temp_directory.h"

namespace {

// Entries of a directory and whether each one counts as a module.
struct ListedEntry {
    const char* name;
    bool isModule;
};

const ListedEntry kEntries[] = {
    {"Tagstrip.Analyzer", true},
    {"Remote.Analyzer", true},
    {"a.Analyzer", true},
    {".Analyzer", false},
    {"Old.Analyzer.bak", false},
    {"Lower.analyzer", false},
    {"Analyzer", false},
    {"tagstrip", false},
    {"libtagstrip-platform.so", false},
};

TEST(AnalyzerModulesInTest, ListsModuleFilesByFullPathInNameOrder)
{
    TempDirectory directory;
    std::vector<std::string> expected;
    for (const ListedEntry& entry : kEntries) {
        directory.Write(entry.name, "");
        if (entry.isModule) {
            expected.push_back(directory.File(entry.name));
        }
    }
    std::sort(expected.begin(), expected.end());

    EXPECT_EQ(AnalyzerModulesIn(directory.path), expected);
    EXPECT_EQ(AnalyzerModulesIn(directory.path + "/"), expected);
}

TEST(AnalyzerModulesInTest, MissingOrEmptyDirectoryHasNone)
{
    TempDirectory directory;
    EXPECT_TRUE(AnalyzerModulesIn(directory.path).empty());
    EXPECT_TRUE(AnalyzerModulesIn(directory.File("missing")).empty());
    EXPECT_TRUE(AnalyzerModulesIn("").empty());
}

TEST(FindAnalyzerModulesTest, InstalledModulesComeBeforeThoseBesideTheProgram)
{
    TempDirectory root;
    std::filesystem::create_directories(root.File("bin"));
    const std::string beside = root.Write("bin/Tagstrip.Analyzer", "");
    EXPECT_EQ(FindAnalyzerModules(root.File("bin")), std::vector<std::string>{beside});
    EXPECT_EQ(FindModule(root.File("bin"), "Tagstrip.Analyzer"), beside);

    std::filesystem::create_directories(root.File("lib/tagstrip"));
    EXPECT_EQ(FindAnalyzerModules(root.File("bin")), std::vector<std::string>{beside});

    const std::string installed = root.Write("lib/tagstrip/Tagstrip.Analyzer", "");
    EXPECT_EQ(FindAnalyzerModules(root.File("bin")), std::vector<std::string>{installed});
    EXPECT_EQ(FindModule(root.File("bin"), "Tagstrip.Analyzer"), installed);
}

}  // namespace
