#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/kernel/windows.h"

namespace {

TEST(GetTempFileNameTest, CreatesAFreshPrivateFileEachTime)
{
    char first[MAX_PATH + 1];
    char second[MAX_PATH + 1];
    ASSERT_NE(GetTempFileNameA("/tmp/", "tmp", 0, first), 0u);
    ASSERT_NE(GetTempFileNameA("/tmp", "tmpfile", 0, second), 0u);
    EXPECT_NE(std::string(first), std::string(second));
    EXPECT_EQ(std::string(second).rfind("/tmp/tmp", 0), 0u) << second;
    struct stat status;
    ASSERT_EQ(stat(first, &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_TRUE(DeleteFileA(first));
    EXPECT_FALSE(DeleteFileA(first));
    EXPECT_TRUE(DeleteFileA(second));
    EXPECT_EQ(GetTempFileNameA("/nonexistent/", "tmp", 0, first), 0u);
}

}  // namespace
