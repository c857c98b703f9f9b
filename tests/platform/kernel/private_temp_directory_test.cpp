#include "platform/kernel/private_temp_directory.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::string kGone = "tagstrip-99999999-aB3dE9";

class PrivateTempDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/private-temp-directory-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        system = std::string(pattern) + "/";
        setenv("TMPDIR", system.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TMPDIR");
        std::filesystem::remove_all(system);
    }

    void MakeDirectory(const std::string& name)
    {
        std::filesystem::create_directory(system + name);
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(system)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Marker() const { return "tagstrip-" + std::to_string(geteuid()) + ".made"; }
    std::string Live() const { return "tagstrip-" + std::to_string(getpid()) + "-aB3dE9"; }

    std::string system;
};

// The cheap sweep reads the directory only after a private directory was made, and
// leaves the marker only while one of them is still there.
TEST_F(PrivateTempDirectoryTest, CheapSweepRunsOnlyAfterADirectoryWasMade)
{
    MakeDirectory(kGone);
    EXPECT_TRUE(PrivateTempDirectory::RemoveAbandonedIfAnyMade().empty());
    EXPECT_EQ(Entries(), std::vector<std::string>{kGone});

    PrivateTempDirectory::NoteMade(system);
    MakeDirectory(Live());
    EXPECT_EQ(PrivateTempDirectory::RemoveAbandonedIfAnyMade(), std::vector<std::string>{system + kGone});
    EXPECT_EQ(Entries(), (std::vector<std::string>{Marker(), Live()}));

    std::filesystem::remove(system + Live());
    EXPECT_TRUE(PrivateTempDirectory::RemoveAbandonedIfAnyMade().empty());
    EXPECT_TRUE(Entries().empty());
}

TEST_F(PrivateTempDirectoryTest, FullSweepNeedsNoMarker)
{
    MakeDirectory(kGone);
    EXPECT_EQ(PrivateTempDirectory::RemoveAbandoned(), std::vector<std::string>{system + kGone});
    EXPECT_TRUE(Entries().empty());
}

TEST_F(PrivateTempDirectoryTest, TheLastOneOutLeavesNothingBehind)
{
    MakeDirectory(kGone);
    {
        PrivateTempDirectory temporary;
        std::string error;
        ASSERT_TRUE(temporary.Create(error)) << error;
        EXPECT_EQ(Entries().size(), 3u);
    }
    EXPECT_TRUE(Entries().empty());
}

}  // namespace
