#include "plugin/ini_file.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/common/module_handle.h"

namespace {

// An ini file whose module path had no '.', so that its path started out empty.
class PathlessIniFile : public IniFile {
public:
    PathlessIniFile() : IniFile(PlatformLibrary()) { path.Empty(); }
};

TEST(IniFileTest, SetDirectoryKeepsTheFileNameAndAddsOneSlash)
{
    const struct {
        const char* directory;
        const char* expected;
    } rows[] = {
        {"/data", "/data/libtagstrip-platform.ini"},
        {"/data/", "/data/libtagstrip-platform.ini"},
        {"", "/libtagstrip-platform.ini"},
    };
    for (const auto& row : rows) {
        IniFile ini(PlatformLibrary());
        ini.SetDirectory(row.directory);
        EXPECT_STREQ(ini.GetPath(), row.expected) << row.directory;
    }
    PathlessIniFile pathless;
    pathless.SetDirectory("/data");
    EXPECT_STREQ(pathless.GetPath(), "/data/");
    EXPECT_EQ(pathless.ReadInt("Settings", "Flags", 65), 65);
}

}  // namespace
