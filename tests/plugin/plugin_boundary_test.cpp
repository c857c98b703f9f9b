// Loads the built module as a host does and drives it through its exported entry points.
#include <dlfcn.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/kernel/windows.h"
#include "tagstrip/host_api.h"
#include "tests/plugin/entry_points.h"
#include "tests/common/temp_directory.h"

namespace {

template <typename Function>
void Find(void* module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(module, name));
    EXPECT_NE(function, nullptr) << name << " is not exported";
}

class PluginBoundaryTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = dlopen(TAGSTRIP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        Find(module, "InitAnalyzer", entry.initAnalyzer);
        Find(module, "UnInitAnalyzer", entry.unInitAnalyzer);
        Find(module, "GetAnalyzerName", entry.getAnalyzerName);
        Find(module, "GetAnalyzerOrder", entry.getAnalyzerOrder);
        Find(module, "GetAnalyzerType", entry.getAnalyzerType);
        Find(module, "GetAnalyzerIconID", entry.getAnalyzerIconID);
        Find(module, "GetAnalyzerConfigPage", entry.getAnalyzerConfigPage);
        Find(module, "GetAnalyzerRightClickMenu", entry.getAnalyzerRightClickMenu);
        Find(module, "DoAnalyzerRightClick", entry.doAnalyzerRightClick);
        Find(module, "Analyze", entry.analyze);
    }
    static void TearDownTestSuite()
    {
        if (module != nullptr) {
            EXPECT_EQ(dlclose(module), 0);
        }
    }

    // The host ini file is named after this program, "plugin_boundary.host".
    static void WriteHostOrder(const TempDirectory& hostDirectory, const char* order)
    {
        WriteTextFile(hostDirectory.File("plugin_boundary.ini"),
                      std::string("[AnalyzerOrder]\r\nOther=1\r\nTagstrip=") + order + "\r\n");
    }

    static void* module;
    static EntryPoints entry;
    TempDirectory hostDirectory;
    TempDirectory iniDirectory;
};

void* PluginBoundaryTest::module = nullptr;
EntryPoints PluginBoundaryTest::entry = {};

TEST_F(PluginBoundaryTest, AnswersTheHostsQueries)
{
    AnalyzerInstance* instance = entry.initAnalyzer(hostDirectory.path.c_str(), iniDirectory.path.c_str());
    ASSERT_NE(instance, nullptr);
    CString name("previous text");
    EXPECT_EQ(entry.getAnalyzerName(instance, &name), 0);
    EXPECT_STREQ(name, "Tagstrip");
    EXPECT_EQ(entry.getAnalyzerType(), 3);
    EXPECT_EQ(entry.getAnalyzerIconID(instance), 12000);
    EXPECT_EQ(entry.getAnalyzerRightClickMenu(), 0);
    EXPECT_EQ(entry.doAnalyzerRightClick(), 0);
    EXPECT_EQ(entry.unInitAnalyzer(nullptr), 0);
    EXPECT_EQ(entry.unInitAnalyzer(instance), 0);
}

TEST_F(PluginBoundaryTest, OrderComesFromTheHostIniInTheHostDirectoryEveryTime)
{
    AnalyzerInstance* instance = entry.initAnalyzer(hostDirectory.path.c_str(), iniDirectory.path.c_str());
    EXPECT_EQ(entry.getAnalyzerOrder(instance), 130000);
    WriteHostOrder(hostDirectory, "4711");
    EXPECT_EQ(entry.getAnalyzerOrder(instance), 4711);
    WriteTextFile(iniDirectory.File("plugin_boundary.ini"), "[AnalyzerOrder]\nTagstrip=1\n");
    EXPECT_EQ(entry.getAnalyzerOrder(instance), 4711);
    entry.unInitAnalyzer(instance);
}

TEST_F(PluginBoundaryTest, ANewInstanceLoadsWhatIsInTagstripIniOfTheIniDirectory)
{
    const std::string ini = iniDirectory.File("Tagstrip.ini");
    WritePrivateProfileStringA("Settings", "Flags", "0", ini.c_str());
    WritePrivateProfileStringA("Settings", "PointsScript", "7", ini.c_str());
    WritePrivateProfileStringA("Settings", "PointsScript", "9", hostDirectory.File("Tagstrip.ini").c_str());
    AnalyzerInstance* instance = entry.initAnalyzer(hostDirectory.path.c_str(), (iniDirectory.path + "/").c_str());
    CString text("Content-Type: text/html\r\n\r\n<html><script>alert(1)</script></html>\r\n");
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    EXPECT_EQ(entry.analyze(instance, &record), 0);
    EXPECT_EQ(record.score, 7);
    entry.unInitAnalyzer(instance);
}

// Two host threads, each with its own instance and host directory, interleave their calls.
TEST_F(PluginBoundaryTest, InstancesOnTwoThreadsKeepToThemselves)
{
    const TempDirectory otherHostDirectory;
    WriteHostOrder(hostDirectory, "1");
    WriteHostOrder(otherHostDirectory, "2");
    auto host = [this](const TempDirectory& directory, int expectedOrder, int& mismatches) {
        AnalyzerInstance* instance = entry.initAnalyzer(directory.path.c_str(), iniDirectory.path.c_str());
        CString name;
        for (int round = 0; round < 200; ++round) {
            entry.getAnalyzerName(instance, &name);
            mismatches += entry.getAnalyzerOrder(instance) != expectedOrder;
        }
        entry.unInitAnalyzer(instance);
    };
    int firstMismatches = 0;
    int secondMismatches = 0;
    std::thread first(host, std::cref(hostDirectory), 1, std::ref(firstMismatches));
    std::thread second(host, std::cref(otherHostDirectory), 2, std::ref(secondMismatches));
    first.join();
    second.join();
    EXPECT_EQ(firstMismatches, 0);
    EXPECT_EQ(secondMismatches, 0);
}

}  // namespace
