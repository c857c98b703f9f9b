#include "plugin/ini_file.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/common/module_handle.h"

namespace {

// An ini file whose path started out as given, as another system's module file name
// would make it; empty for a module path without '.'.
class IniFileAt : public IniFile {
public:
    explicit IniFileAt(const char* startPath) : IniFile(PlatformLibrary()) { path = startPath; }
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
    IniFileAt pathless("");
    pathless.SetDirectory("/data");
    EXPECT_STREQ(pathless.GetPath(), "/data/");
    EXPECT_EQ(pathless.ReadInt("Settings", "Flags", 65), 65);
}

// Either separator ends the directory and the module path; a directory without a
// closing one gets its own kind, else the kind of the module path, else a backslash.
TEST(IniFileTest, SetDirectoryTakesBothSeparators)
{
    const struct {
        const char* startPath;
        const char* directory;
        const char* expected;
    } rows[] = {
        {"Z:\\tmp\\Tagstrip.ini", "C:\\data", "C:\\data\\Tagstrip.ini"},
        {"Z:\\tmp\\Tagstrip.ini", "C:\\data\\", "C:\\data\\Tagstrip.ini"},
        {"Z:\\tmp\\Tagstrip.ini", "C:/data", "C:/data/Tagstrip.ini"},
        {"Z:\\tmp\\Tagstrip.ini", "C:/data/", "C:/data/Tagstrip.ini"},
        {"Z:\\tmp\\Tagstrip.ini", "", "\\Tagstrip.ini"},
        {"Z:\\tmp\\Tagstrip.ini", "data", "data\\Tagstrip.ini"},
        {"/tmp/Tagstrip.ini", "C:\\data", "C:\\data\\Tagstrip.ini"},
        {"/tmp/Tagstrip.ini", "data", "data/Tagstrip.ini"},
        {"Z:\\tmp/x\\Tagstrip.ini", "/data", "/data/Tagstrip.ini"},
        {"Tagstrip.ini", "data", "data\\Tagstrip.ini"},
        {"", "data", "data\\"},
    };
    for (const auto& row : rows) {
        IniFileAt ini(row.startPath);
        ini.SetDirectory(row.directory);
        EXPECT_STREQ(ini.GetPath(), row.expected) << row.startPath << " moved to " << row.directory;
    }
}

}  // namespace
