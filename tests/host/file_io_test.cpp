#include "host/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "host_test_support.h"

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat status;
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(ReplaceFile, KeepsPermissionsAndTheOriginalAsBackup)
{
    ScratchDirectory scratch;
    std::string path = scratch.Write("message.eml", "old");
    chmod(path.c_str(), 0640);
    std::string error;
    ASSERT_TRUE(ReplaceFile(path, "new", "", path + ".orig", error)) << error;
    EXPECT_EQ(ReadFileOrEmpty(path), "new");
    EXPECT_EQ(ReadFileOrEmpty(path + ".orig"), "old");
    EXPECT_EQ(ModeOf(path), 0640u);
}

TEST(ReplaceFile, LeavesNothingBehindWhenTheStagingDirectoryIsMissing)
{
    ScratchDirectory scratch;
    std::string path = scratch.Write("message.eml", "old");
    std::string error;
    EXPECT_FALSE(ReplaceFile(path, "new", scratch.Path() + "/no-such-dir", "", error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_EQ(ReadFileOrEmpty(path), "old");
}

TEST(ReadWholeFile, NamesWhatWentWrong)
{
    ScratchDirectory scratch;
    std::string content;
    std::string error;
    EXPECT_FALSE(ReadWholeFile(scratch.Path() + "/missing", content, error));
    EXPECT_NE(error.find("cannot open: No such file"), std::string::npos) << error;
    EXPECT_FALSE(ReadWholeFile(scratch.Path(), content, error));
    EXPECT_NE(error.find("directory"), std::string::npos) << error;
    EXPECT_FALSE(ReadWholeFile("/proc/self/mem", content, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

}  // namespace
