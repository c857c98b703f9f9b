#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/windows.h"

namespace {

std::string TempPathWith(const char* tmpdir)
{
    const char* saved = std::getenv("TMPDIR");
    const std::string restore = saved != nullptr ? saved : "";
    if (tmpdir != nullptr) {
        setenv("TMPDIR", tmpdir, 1);
    } else {
        unsetenv("TMPDIR");
    }
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof path, path);
    if (saved != nullptr) {
        setenv("TMPDIR", restore.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    EXPECT_EQ(length, std::string(path).size());
    return path;
}

TEST(GetTempPathTest, UsesTmpdirWhenSetElseTmpAlwaysWithASlash)
{
    EXPECT_EQ(TempPathWith(nullptr), "/tmp/");
    EXPECT_EQ(TempPathWith(""), "/tmp/");
    EXPECT_EQ(TempPathWith("/var/spool"), "/var/spool/");
    EXPECT_EQ(TempPathWith("/var/spool/"), "/var/spool/");
}

TEST(GetTempPathTest, TooSmallBufferGetsTheSizeNeeded)
{
    char path[3] = "xx";
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempPathA(sizeof path, path), 6u);
    EXPECT_STREQ(path, "xx");
}

TEST(GetTempFileNameTest, CreatesAFreshPrivateFileEachTime)
{
    char first[MAX_PATH + 1];
    char second[MAX_PATH + 1];
    const UINT firstUnique = GetTempFileNameA("/tmp/", "tmp", 0, first);
    const UINT secondUnique = GetTempFileNameA("/tmp", "tmpfile", 0, second);
    ASSERT_NE(firstUnique, 0u);
    ASSERT_NE(secondUnique, 0u);
    EXPECT_NE(std::string(first), std::string(second));
    EXPECT_EQ(std::string(second).rfind("/tmp/tmp", 0), 0u) << second;
    struct stat status;
    ASSERT_EQ(stat(first, &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_size, 0);
    EXPECT_TRUE(DeleteFileA(first));
    EXPECT_FALSE(DeleteFileA(first));
    EXPECT_TRUE(DeleteFileA(second));
}

TEST(GetTempFileNameTest, GivenUniqueNumberOnlyBuildsTheName)
{
    char name[MAX_PATH + 1];
    EXPECT_EQ(GetTempFileNameA("/nonexistent/", "tmp", 0x2A, name), 0x2Au);
    EXPECT_STREQ(name, "/nonexistent/tmp2A");
    EXPECT_EQ(GetTempFileNameA("/nonexistent/", "tmp", 0, name), 0u);
    EXPECT_EQ(GetTempFileNameA(("/tmp/" + std::string(MAX_PATH, 'x')).c_str(), "tmp", 0x2A, name), 0u);
}

}  // namespace
