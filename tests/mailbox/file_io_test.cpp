#include "mailbox/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/host_test_support.h"

namespace {

TEST(ReplaceFile, KeepsPermissionsAndTheOriginalAsBackup)
{
    TempDirectory scratch;
    std::string path = scratch.Write("message.eml", "old");
    chmod(path.c_str(), 0640);
    std::string error;
    ASSERT_TRUE(ReplaceFile(path, "new", "", path + ".orig", error)) << error;
    EXPECT_EQ(ReadTextFile(path), "new");
    EXPECT_EQ(ReadTextFile(path + ".orig"), "old");
    struct stat status;
    stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(ReplaceFile, LeavesTheFileAloneWhenTheStagingDirectoryIsMissing)
{
    TempDirectory scratch;
    std::string path = scratch.Write("message.eml", "old");
    std::string error;
    EXPECT_FALSE(ReplaceFile(path, "new", scratch.File("no-such-dir"), "", error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_EQ(ReadTextFile(path), "old");
}

}  // namespace
