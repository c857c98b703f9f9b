#include "plugin/ini_file.h"

#include <string>

#include <gtest/gtest.h>

#include "common/string_helpers.h"
#include "tests/common/module_handle.h"
#include "tests/common/temp_directory.h"

namespace {

constexpr const char* kPlatformIni = "libtagstrip-platform.ini";

// An ini file whose module path had no '.', so that its path started out empty.
class PathlessIniFile : public IniFile {
public:
    PathlessIniFile() : IniFile(PlatformLibrary()) { path.Empty(); }
};

TEST(IniFileTest, PathIsTheModulePathUpToItsLastDotFollowedByIni)
{
    const IniFile ini(PlatformLibrary());
    const std::string path(ini.GetPath());
    EXPECT_EQ(path[0], '/');
    EXPECT_TRUE(EndsWith(path, "/libtagstrip-platform.ini")) << path;
    EXPECT_EQ(ini.GetModule(), PlatformLibrary());
}

TEST(IniFileTest, SetDirectoryKeepsTheFileNameAndAddsOneSlash)
{
    struct Row {
        const char* directory;
        std::string expected;
    };
    const Row rows[] = {
        {"/data", std::string("/data/") + kPlatformIni},
        {"/data/", std::string("/data/") + kPlatformIni},
        {"", std::string("/") + kPlatformIni},
    };
    for (const Row& row : rows) {
        IniFile ini(PlatformLibrary());
        ini.SetDirectory(row.directory);
        EXPECT_EQ(std::string(ini.GetPath()), row.expected) << row.directory;
    }
    PathlessIniFile pathless;
    pathless.SetDirectory("/data");
    EXPECT_STREQ(pathless.GetPath(), "/data/");
    EXPECT_EQ(pathless.ReadInt("Settings", "Flags", 65), 65);
}

TEST(IniFileTest, WritesIntegersAsDecimalTextAndReadsThemBack)
{
    const TempDirectory directory;
    IniFile ini(PlatformLibrary());
    ini.SetDirectory(directory.path.c_str());
    ini.WriteInt("Settings", "PointsLinks", -5);
    ini.WriteString("General", "Active", "0");
    EXPECT_EQ(ReadTextFile(directory.File(kPlatformIni)), "[Settings]\nPointsLinks=-5\n\n[General]\nActive=0\n");
    EXPECT_EQ(ini.ReadInt("Settings", "PointsLinks", 10), -5);
    EXPECT_EQ(ini.ReadInt("General", "Active", 1), 0);
}

}  // namespace
