#include "plugin/analyzer_instance.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/common/module_handle.h"
#include "tests/common/temp_directory.h"

namespace {

class AnalyzerInstanceTest : public testing::Test {
protected:
    void SetUp() override { instance.SetIniDirectory(directory.path.c_str()); }

    TempDirectory directory;
    AnalyzerInstance instance{PlatformLibrary()};
};

TEST_F(AnalyzerInstanceTest, WithoutAnyIniFileEverySettingHasItsDefault)
{
    const int expectedPoints[CategoryCount] = {50, 10, 60, 60, 10, 60, 100, 10};
    instance.SetHostDirectory(directory.path.c_str());
    instance.LoadSettings();
    EXPECT_EQ(instance.Flags(), 65);
    for (int category = 0; category < CategoryCount; ++category) {
        EXPECT_EQ(instance.Points(static_cast<Category>(category)), expectedPoints[category]) << category;
    }
    EXPECT_EQ(instance.GetActive(), 1);
    EXPECT_EQ(instance.GetOrder(), 130000);
}

TEST_F(AnalyzerInstanceTest, SaveWritesTheNineKeysFlagsFirstForTheNextLoad)
{
    instance.LoadSettings();
    instance.points[CategoryLinks] = -5;
    instance.SaveSettings();
    instance.SetActive(0);
    EXPECT_EQ(ReadTextFile(directory.File("libtagstrip-platform.ini")),
              "[Settings]\nFlags=65\nPointsScript=50\nPointsFormatting=10\nPointsImagesExt=60\n"
              "PointsImagesInt=60\nPointsLinks=-5\nPointsExternalRefs=60\nPointsWebBugs=100\n"
              "PointsReadReceipts=10\n\n[General]\nActive=0\n");

    AnalyzerInstance other(PlatformLibrary());
    other.SetIniDirectory((directory.path + "/").c_str());
    other.LoadSettings();
    EXPECT_EQ(other.Points(CategoryLinks), -5);
    EXPECT_EQ(other.GetActive(), 0);
}

}  // namespace
