#include "mailbox/leftovers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "mailbox/file_io.h"
#include "tests/support/host_test_support.h"

namespace {

TEST(StagedFileWriter, ReadsTheProcessIdOfStagedNamesOnly)
{
    const struct {
        const char* name;
        long writer;
    } rows[] = {
        {".inbox.tagstrip-4242-aB3dE9", 4242},
        {".1760000000.M1P2.host,S=6348:2,FS.tagstrip-17-xxxxxx", 17},
        {"inbox.tagstrip-4242-aB3dE9", 0},
        {".inbox.tagstrip-4242-aB3d", 0},
        {".inbox.tagstrip-journal-4242", 0},
        {".inbox.tagstrip--aB3dE9", 0},
        {"1760000000.M1P2.host", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(StagedFileWriter(row.name), row.writer) << row.name;
    }
}

TEST(RemoveLeftovers, OnlyFilesOfGoneWritersAndOldMaildirDeliveries)
{
    TempDirectory tmp;
    std::string live = tmp.Write(StagedNamePrefix("inbox") + "aB3dE9", "live");
    tmp.Write(".inbox.tagstrip-99999999-aB3dE9", "gone");
    std::string fresh = tmp.Write("1760000000.M1P2.host", "being delivered");
    std::string old = tmp.Write("1700000000.M1P2.host", "abandoned delivery");
    struct utimbuf longAgo = {time(nullptr) - 37 * 3600, time(nullptr) - 37 * 3600};
    utime(old.c_str(), &longAgo);

    std::vector<std::string> inDirectory = RemoveLeftovers(tmp.path, false);
    EXPECT_EQ(inDirectory, std::vector<std::string>{tmp.File(".inbox.tagstrip-99999999-aB3dE9")});
    EXPECT_EQ(RemoveLeftovers(tmp.path, true), std::vector<std::string>{old});
    EXPECT_EQ(access(live.c_str(), F_OK), 0);
    EXPECT_EQ(access(fresh.c_str(), F_OK), 0);
}

}  // namespace
