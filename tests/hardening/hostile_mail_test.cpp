// Hostile mail through the real module: none of it may crash the analyzer, and a
// rewritten message must still hold the last word of the original.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "host/analyzer_module.h"
#include "platform/kernel/windows.h"
#include "tests/support/filter_run.h"
#include "tests/support/hostile_messages.h"

namespace {

class HostileMailTest : public ::testing::TestWithParam<HostileMessage> {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/tagstrip-hostile-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::create_directory(root / "tmp");
        setenv("TMPDIR", (root / "tmp").c_str(), 1);
        WritePrivateProfileStringA("Settings", "Flags", "255", (root / "Tagstrip.ini").c_str());
        std::string error;
        ASSERT_TRUE(module.Load(TAGSTRIP_MODULE_PATH, error)) << error;
        instance = module.InitAnalyzer(root.c_str(), root.c_str());
        ASSERT_NE(instance, nullptr);
    }

    static void TearDownTestSuite()
    {
        module.UnInitAnalyzer(instance);
        module.Unload();
        std::filesystem::remove_all(root);
    }

    static std::filesystem::path root;
    static AnalyzerModule module;
    static AnalyzerInstance* instance;
};

std::filesystem::path HostileMailTest::root;
AnalyzerModule HostileMailTest::module;
AnalyzerInstance* HostileMailTest::instance = nullptr;

TEST_P(HostileMailTest, IsAnalysedWithoutLosingItsEnd)
{
    const std::string message = GetParam().make(GetParam().fullScale);
    // The plug-in sees a message only up to its first NUL, so a message with NUL bytes
    // goes through the walker and the filter directly.
    if (message.find('\0') != std::string::npos) {
        EXPECT_NE(FilterMessage(message, 0xFF).find(kHostileSentinel), std::string::npos);
        return;
    }
    CString text(message.c_str());
    AnalysisRecord record{&text, 0, 0, 0, CString()};
    const int replaced = module.Analyze(instance, &record);

    const std::string result(text, static_cast<std::size_t>(text.GetLength()));
    if (replaced == 0) {
        EXPECT_EQ(result, message);
    } else if (message.find(kHostileSentinel) != std::string::npos) {
        EXPECT_NE(result.find(kHostileSentinel), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_empty(root / "tmp"));
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileMailTest, ::testing::ValuesIn(HostileMessages()),
                         [](const ::testing::TestParamInfo<HostileMessage>& info) { return info.param.name; });

}  // namespace
