#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/common/temp_directory.h"
#include "platform/kernel/profile_testing.h"
#include "platform/kernel/windows.h"

namespace {

class ProfileTest : public testing::Test {
protected:
    void TearDown() override { SetProfileRenameHookForTesting(nullptr); }

    void Store(const std::string& text) const { WriteTextFile(ini, text); }
    std::string Contents() const { return ReadTextFile(ini); }
    int Read(const char* section, const char* key, int defaultValue = -99) const
    {
        return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, ini.c_str()));
    }
    BOOL Write(const char* section, const char* key, const char* value) const
    {
        return WritePrivateProfileStringA(section, key, value, ini.c_str());
    }

    TempDirectory directory;
    const std::string ini = directory.File("Tagstrip.ini");
};

TEST_F(ProfileTest, ReadsTheFirstMatchingKeyOrTheDefault)
{
    struct Row {
        const char* file;
        int expected;
    };
    const Row rows[] = {
        {"  [ sETTINGS ]  \r\n  fLAGS  =  -7  \r\n", -7},
        {"[Settings]\nFlags=12abc\n", 12},
        {"[Settings]\nFlags=abc\n", 0},
        {"[Settings]\nFlags=\n", -99},
        {"[Settings]\nFlags=3\nFlags=4\n", 3},
        {"[General]\nFlags=3\n", -99},
        {"[Settings]\n;Flags=1\nFlags=5", 5},
        {"[Settings\nFlags=8\n", -99},
        {"Flags=3\n", -99},
    };
    for (const Row& row : rows) {
        Store(row.file);
        EXPECT_EQ(Read("Settings", "Flags"), row.expected) << row.file;
    }
}

TEST_F(ProfileTest, MissingFileReadsAsDefaultAndWriteCreatesIt)
{
    EXPECT_EQ(Read("Settings", "Flags", 65), 65);
    EXPECT_TRUE(Write("Settings", "Flags", "-5"));
    EXPECT_EQ(Contents(), "[Settings]\nFlags=-5\n");
    EXPECT_EQ(Read("Settings", "Flags", 65), -5);
}

TEST_F(ProfileTest, WriteChangesOnlyTheValueOfTheFirstMatchingKey)
{
    Store("; kept by hand\r\n[ settings ]\r\n  flags =  3 ; old\r\nFlags=4\r\n\r\n[General]\r\nActive=1\r\n");
    EXPECT_TRUE(Write("Settings", "Flags", "65"));
    EXPECT_EQ(Contents(),
              "; kept by hand\r\n[ settings ]\r\n  flags =  65\r\nFlags=4\r\n\r\n[General]\r\nActive=1\r\n");
}

TEST_F(ProfileTest, AppendsAMissingKeyAfterTheSectionsLastKey)
{
    struct Row {
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"[Settings]\nFlags=1\n\n; general\n[General]\n",
         "[Settings]\nFlags=1\nPointsLinks=10\n\n; general\n[General]\n"},
        {"[Settings]\n\n[General]\n", "[Settings]\nPointsLinks=10\n\n[General]\n"},
        {"[Settings]\r\nFlags=1", "[Settings]\r\nFlags=1\r\nPointsLinks=10\r\n"},
        {"[General]\nActive=1\n", "[General]\nActive=1\n\n[Settings]\nPointsLinks=10\n"},
    };
    for (const Row& row : rows) {
        Store(row.before);
        EXPECT_TRUE(Write("Settings", "PointsLinks", "10"));
        EXPECT_EQ(Contents(), row.after) << row.before;
    }
}

TEST_F(ProfileTest, FailedWriteReturnsFalseAndCreatesNothing)
{
    const std::string missing = directory.File("no/such/dir/Tagstrip.ini");
    EXPECT_FALSE(WritePrivateProfileStringA("Settings", "Flags", "1", missing.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("Settings", "Flags", "1", (directory.path + "/").c_str()));
    EXPECT_TRUE(std::filesystem::is_empty(directory.path));
}

TEST_F(ProfileTest, CrashBeforeTheRenameLeavesTheOldFileAndLaterWritesWork)
{
    Store("[Settings]\nFlags=1\n");
    const pid_t child = fork();
    if (child == 0) {
        SetProfileRenameHookForTesting([]() -> bool { _exit(0); });
        Write("Settings", "Flags", "2");
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(Contents(), "[Settings]\nFlags=1\n");
    EXPECT_TRUE(Write("Settings", "Flags", "3"));
    EXPECT_EQ(Contents(), "[Settings]\nFlags=3\n");
}

TEST_F(ProfileTest, ConcurrentWritersInTwoProcessesLoseNoUpdate)
{
    constexpr int kWritesEach = 60;
    const char* const sections[] = {"First", "Second"};
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        children[writer] = fork();
        if (children[writer] == 0) {
            for (int index = 0; index < kWritesEach; ++index) {
                const std::string key = "Key" + std::to_string(index);
                Write(sections[writer], key.c_str(), std::to_string(index * 7).c_str());
            }
            _exit(0);
        }
    }
    for (const pid_t child : children) {
        waitpid(child, nullptr, 0);
    }
    for (const char* section : sections) {
        for (int index = 0; index < kWritesEach; ++index) {
            EXPECT_EQ(Read(section, ("Key" + std::to_string(index)).c_str()), index * 7) << section << index;
        }
    }
}

}  // namespace
