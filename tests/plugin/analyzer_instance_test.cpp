#include "plugin/analyzer_instance.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/common/module_handle.h"
#include "tests/common/temp_directory.h"

namespace {

constexpr int kDefaultPoints[CategoryCount] = {50, 10, 60, 60, 10, 60, 100, 10};

class AnalyzerInstanceTest : public testing::Test {
protected:
    void SetUp() override { instance.SetIniDirectory(directory.path.c_str()); }

    std::string IniText() const { return ReadTextFile(directory.File("libtagstrip-platform.ini")); }

    TempDirectory directory;
    AnalyzerInstance instance{PlatformLibrary()};
};

TEST_F(AnalyzerInstanceTest, WithoutAnyIniFileEverySettingHasItsDefault)
{
    instance.SetHostDirectory(directory.path.c_str());
    EXPECT_EQ(instance.LoadSettings(), 0);
    EXPECT_EQ(instance.Flags(), 65);
    for (int category = 0; category < CategoryCount; ++category) {
        EXPECT_EQ(instance.Points(static_cast<Category>(category)), kDefaultPoints[category]) << category;
    }
    EXPECT_EQ(instance.GetActive(), 1);
    EXPECT_EQ(instance.GetOrder(), 130000);
}

TEST_F(AnalyzerInstanceTest, DirectoriesAreRecordedAndOnlyTheIniDirectoryMovesThePath)
{
    instance.SetHostDirectory("/somewhere/else");
    EXPECT_STREQ(instance.GetHostDirectory(), "/somewhere/else");
    EXPECT_EQ(std::string(instance.iniDirectory), directory.path);
    EXPECT_EQ(std::string(instance.GetPath()), directory.File("libtagstrip-platform.ini"));
}

TEST_F(AnalyzerInstanceTest, SaveAfterLoadWithNoFileWritesTheNineKeysFlagsFirst)
{
    instance.LoadSettings();
    EXPECT_EQ(instance.SaveSettings(), 0);
    EXPECT_EQ(IniText(),
              "[Settings]\nFlags=65\nPointsScript=50\nPointsFormatting=10\nPointsImagesExt=60\n"
              "PointsImagesInt=60\nPointsLinks=10\nPointsExternalRefs=60\nPointsWebBugs=100\n"
              "PointsReadReceipts=10\n");
}

TEST_F(AnalyzerInstanceTest, SettingsSavedByOneInstanceAreLoadedByAnother)
{
    instance.LoadSettings();
    instance.flags = 0x88;
    instance.points[CategoryLinks] = -5;
    instance.points[CategoryReadReceipts] = 999;
    instance.SaveSettings();
    instance.SetActive(0);

    AnalyzerInstance other(PlatformLibrary());
    other.SetIniDirectory((directory.path + "/").c_str());
    other.LoadSettings();
    EXPECT_EQ(other.Flags(), 0x88);
    EXPECT_EQ(other.Points(CategoryLinks), -5);
    EXPECT_EQ(other.Points(CategoryReadReceipts), 999);
    EXPECT_EQ(other.Points(CategoryScript), 50);
    EXPECT_EQ(other.GetActive(), 0);
    EXPECT_NE(IniText().find("PointsLinks=-5\n"), std::string::npos);
}

}  // namespace
