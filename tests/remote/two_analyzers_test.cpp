// The tagstrip program with both analyzer modules beside it, as installed: each message
// goes through Tagstrip, then Remote, unless the host's ini file orders them otherwise.
#include <gtest/gtest.h>

#include "tests/support/host_test_support.h"

namespace {

const char kMessage[] =
    "From: shop@sender.test\r\n"
    "To: ann@example.org\r\n"
    "Subject: Autumn\r\n"
    "Content-Type: text/html\r\n"
    "\r\n"
    "<html><body><script>track()</script>\r\n"
    "<p style=\"background:url(http://img.sender.test/bg.png)\">Hello Ann</p>\r\n"
    "<img src=\"http://img.sender.test/o.gif?u=ann%40example.org\" width=1 height=1>\r\n"
    "</body></html>\r\n";

class TwoAnalyzersTest : public ::testing::Test {
protected:
    RunResult Filter() const { return RunTagstrip({"filter", "--config-dir", config.path}, kMessage); }

    TempDirectory config;
};

TEST_F(TwoAnalyzersTest, RunsBothInOrderAddingScoresAndFindings)
{
    const RunResult result = Filter();
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string expectedHeaders =
        "X-Tagstrip-Score: 230\r\n"
        "X-Tagstrip-Findings:\r\n"
        "\t      50 Tagstrip - 'Script found.'\r\n"
        "\t       0 Tagstrip - 'Script removed.'\r\n"
        "\t      10 Tagstrip - 'Formatting found.'\r\n"
        "\t      60 Tagstrip - 'External Image references found.'\r\n"
        "\t     100 Tagstrip - 'Web Bugs found.'\r\n"
        "\t       0 Tagstrip - 'Web Bugs removed.'\r\n"
        "\t      10 Remote - 'Remote loads found.'\r\n"
        "\t       0 Remote - 'Remote loads removed.'\r\n";
    EXPECT_EQ(result.out.substr(0, expectedHeaders.size()), expectedHeaders);
    EXPECT_EQ(result.out.find("script"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("http://"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Hello Ann"), std::string::npos) << result.out;
}

TEST_F(TwoAnalyzersTest, TheHostIniFileDecidesTheOrder)
{
    WriteTextFile(config.File("tagstrip.ini"), "[AnalyzerOrder]\r\nRemote=1000\r\n");
    const RunResult result = Filter();
    ASSERT_EQ(result.status, 0) << result.err;
    const std::size_t remote = result.out.find("Remote - ");
    const std::size_t tagstrip = result.out.find("Tagstrip - ");
    ASSERT_NE(remote, std::string::npos) << result.out;
    EXPECT_LT(remote, tagstrip) << result.out;
    // Run first, Remote takes the pixel for what it is: an invisible image with the address.
    EXPECT_NE(result.out.find("Remote - 'Tracking pixels removed.'"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("http://"), std::string::npos) << result.out;
}

TEST_F(TwoAnalyzersTest, AnAdminsOwnTrackerTableCounts)
{
    WriteTextFile(config.File("Remote-trackers.tsv"), "Sender\timg\\.sender\\.test\\/bg\n");
    const RunResult result = Filter();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Remote - 'Known trackers removed.'"), std::string::npos) << result.out;
}

TEST_F(TwoAnalyzersTest, SettingsShowChangeAndCheckTheRemoteAnalyzer)
{
    RunResult set = RunTagstrip({"settings", "--config-dir", config.path, "--analyzer", "remote", "--set",
                                 "Flags=8", "--set", "KnownTrackers=70"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("Ini file      " + config.File("Remote.ini")), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("Flags         8 (removes LinkTracking)"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("  KnownTrackers     70\n"), std::string::npos) << set.out;
    EXPECT_EQ(RunTagstrip({"settings", "--config-dir", config.path, "--analyzer", "Remote", "--set", "Flags=16"}).status,
              2);

    WriteTextFile(config.File("Remote-trackers.tsv"), "ok\\.test\nbroken(\n");
    RunResult check = RunTagstrip({"settings", "--config-dir", config.path, "--analyzer", "Remote", "--check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find(config.File("Remote-trackers.tsv") + ":2: "), std::string::npos) << check.out;
    EXPECT_EQ(RunTagstrip({"settings", "--config-dir", config.path, "--check"}).status, 0);
}

TEST_F(TwoAnalyzersTest, ConfigNamesTheAnalyzersWhenTheNameIsUnknown)
{
    RunResult result = RunTagstrip({"config", "--config-dir", config.path, "Trackers"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("no analyzer named 'Trackers'; there are: Tagstrip Remote"), std::string::npos)
        << result.err;
}

}  // namespace
