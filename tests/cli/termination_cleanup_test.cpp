#include "cli/termination_cleanup.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/kernel/windows.h"

namespace {

std::vector<std::string> Entries(const std::string& directory, bool directoriesOnly = false)
{
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(directory)) {
        if (!directoriesOnly || entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

std::string TempPath()
{
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof path, path);
    return length != 0 && length < sizeof path ? std::string(path, length) : std::string();
}

class TerminationCleanupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/termination-cleanup-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base = pattern;
        setenv("TMPDIR", base.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TMPDIR");
        std::filesystem::remove_all(base);
    }

    std::string base;
};

// A short message asks for no temporary path, and then nothing is made at all.
TEST_F(TerminationCleanupTest, MakesItsDirectoryOnlyWhenThePathIsFirstAskedFor)
{
    {
        TerminationCleanup cleanup;
        EXPECT_TRUE(Entries(base).empty());

        const std::string path = TempPath();
        const std::vector<std::string> made = Entries(base, true);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].rfind("tagstrip-" + std::to_string(getpid()) + "-", 0), 0u) << made[0];
        EXPECT_EQ(path, base + "/" + made[0] + "/");
        EXPECT_EQ(TempPath(), path);
        EXPECT_EQ(Entries(base, true).size(), 1u);

        char file[MAX_PATH + 1];
        ASSERT_NE(GetTempFileNameA(path.c_str(), "tmp", 0, file), 0u);
    }
    EXPECT_TRUE(Entries(base).empty());
    EXPECT_EQ(TempPath(), base + "/");
}

TEST_F(TerminationCleanupTest, LeavesTheTemporaryDirectoryAsItWasWhenItCannotMakeOne)
{
    const std::string missing = base + "/missing";
    setenv("TMPDIR", missing.c_str(), 1);
    TerminationCleanup cleanup;
    EXPECT_EQ(TempPath(), missing + "/");
    EXPECT_TRUE(Entries(base).empty());
}

}  // namespace
