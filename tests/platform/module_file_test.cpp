#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/windows.h"
#include "tests/common/module_handle.h"

namespace {

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? resolved : "";
}

TEST(GetModuleFileNameTest, NullNamesTheRunningExecutable)
{
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(std::string(path), RealPath("/proc/self/exe"));
    EXPECT_EQ(length, std::string(path).size());
}

TEST(GetModuleFileNameTest, HandleNamesTheSharedObjectLoadedThere)
{
    char path[MAX_PATH + 1];
    ASSERT_GT(GetModuleFileNameA(PlatformLibrary(), path, sizeof path), 0u);
    EXPECT_NE(std::string(path).find("libtagstrip-platform.so"), std::string::npos) << path;
    EXPECT_EQ(path[0], '/');
}

TEST(GetModuleFileNameTest, AnAddressThatIsNoLoadBaseNamesNothing)
{
    char path[MAX_PATH + 1];
    const auto inside = static_cast<char*>(PlatformLibrary()) + 1;
    EXPECT_EQ(GetModuleFileNameA(inside, path, sizeof path), 0u);
}

TEST(GetModuleFileNameTest, TruncatesToTheBufferAndReportsItsSize)
{
    char full[MAX_PATH + 1];
    GetModuleFileNameA(nullptr, full, sizeof full);
    char shortBuffer[6];
    EXPECT_EQ(GetModuleFileNameA(nullptr, shortBuffer, sizeof shortBuffer), 6u);
    EXPECT_EQ(std::string(shortBuffer), std::string(full).substr(0, 5));
}

}  // namespace
