#include "plugin/current_instance.h"

#include <functional>

#include <gtest/gtest.h>

#include "platform/ui/afxwin.h"
#include "platform/kernel/resource_registry.h"
#include "platform/kernel/resource_script.h"
#include "plugin/analyzer_instance.h"
#include "plugin/entry_points.h"
#include "tests/common/module_handle.h"
#include "tests/common/temp_directory.h"

namespace {

const ResourceScript kTestResources{};

// The platform library stands in for the module: the loader's steps, done by hand.
class AttachedModuleTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterModuleResources(PlatformLibrary(), &kTestResources);
        ASSERT_TRUE(DllMain(PlatformLibrary(), DLL_PROCESS_ATTACH, nullptr));
    }
    void TearDown() override
    {
        DllMain(PlatformLibrary(), DLL_PROCESS_DETACH, nullptr);
        UnregisterModuleResources(PlatformLibrary());
    }
};

TEST(DllMainTest, AttachWithoutResourcesFailsAndLeavesTheModuleUnregistered)
{
    int notAModule = 0;
    EXPECT_FALSE(DllMain(&notAModule, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_FALSE(ModuleRegistered());
    EXPECT_EQ(InitAnalyzer("/tmp", "/tmp"), nullptr);
    DllMain(&notAModule, DLL_PROCESS_DETACH, nullptr);
}

TEST_F(AttachedModuleTest, EntryPointsThatTakeAnInstanceMakeItCurrentAndTheOthersDoNot)
{
    const TempDirectory directory;
    AnalyzerInstance* first = InitAnalyzer(directory.path.c_str(), directory.path.c_str());
    AnalyzerInstance* second = InitAnalyzer(directory.path.c_str(), directory.path.c_str());
    ASSERT_NE(first, second);
    EXPECT_EQ(CurrentInstance(), second);

    CString name;
    CString plainText("Subject: hello\r\n\r\nplain text\r\n");
    AnalysisRecord record{&plainText, 0, 0, 7, CString()};
    struct Row {
        const char* call;
        std::function<void()> run;
        AnalyzerInstance* expectedCurrent;
    };
    const Row rows[] = {
        {"GetAnalyzerName", [&] { GetAnalyzerName(first, &name); }, first},
        {"GetAnalyzerType", [] { GetAnalyzerType(); }, first},
        {"GetAnalyzerOrder", [&] { GetAnalyzerOrder(second); }, second},
        {"GetAnalyzerRightClickMenu", [] { GetAnalyzerRightClickMenu(); }, second},
        {"GetAnalyzerIconID", [&] { GetAnalyzerIconID(first); }, first},
        {"DoAnalyzerRightClick", [] { DoAnalyzerRightClick(); }, first},
        {"GetAnalyzerConfigPage", [&] { delete GetAnalyzerConfigPage(second, nullptr); }, second},
        {"UnInitAnalyzer", [] { UnInitAnalyzer(nullptr); }, second},
        {"Analyze", [&] { Analyze(first, &record); }, first},
    };
    for (const Row& row : rows) {
        row.run();
        EXPECT_EQ(CurrentInstance(), row.expectedCurrent) << "after " << row.call;
    }
    EXPECT_STREQ(name, "Tagstrip");
    EXPECT_STREQ(plainText, "Subject: hello\r\n\r\nplain text\r\n");
    EXPECT_EQ(record.score, 7);
    UnInitAnalyzer(first);
    UnInitAnalyzer(second);
}

}  // namespace
