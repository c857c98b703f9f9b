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

TEST(MaildirSizedName, SizesFollowTheContentAndFlagsStay)
{
    const std::string content = "Subject: a\n\nbody\r\nend\n";  // 22 bytes, three bare line ends
    const struct {
        const char* name;
        const char* sized;
    } rows[] = {
        {"cur/1760000000.M1P2.host,S=6348,W=6500:2,FS", "cur/1760000000.M1P2.host,S=22,W=25:2,FS"},
        {"new/1760000000.M1P2.host,S=6348", "new/1760000000.M1P2.host,S=22"},
        {"cur/1760000000.M1P2.host,W=9:2,", "cur/1760000000.M1P2.host,W=25:2,"},
        {"cur/1760000000.M1P2.host:2,S", "cur/1760000000.M1P2.host:2,S"},
        {"dir,S=5/message.eml", "dir,S=5/message.eml"},
        {"message.eml", "message.eml"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MaildirSizedName(row.name, content), row.sized) << row.name;
    }
}

}  // namespace
