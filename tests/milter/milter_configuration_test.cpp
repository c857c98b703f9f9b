#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <vector>

#include "milter/milter_configuration.h"
#include "tests/common/temp_directory.h"

namespace {

bool InLocalNet(const MilterOptions& options, const char* address)
{
    sockaddr_in client{};
    client.sin_family = AF_INET;
    inet_pton(AF_INET, address, &client.sin_addr);
    return options.localNetworks.Contains(reinterpret_cast<sockaddr*>(&client));
}

OptionSetting FromCommandLine(const std::string& name, const std::string& value = "")
{
    return {name, value, "command line"};
}

// Loads the configuration file path with the command line given; problems are returned.
std::vector<std::string> Load(MilterConfiguration& configuration)
{
    std::vector<std::string> problems;
    configuration.Load(problems);
    return problems;
}

TEST(MilterConfiguration, EveryOptionOnceInTheFile)
{
    TempDirectory directory;
    directory.Write("skip-from.list", "bounces@example.com\n");
    std::string skipTo = directory.Write("skip-to.list", "@example.org\n");
    std::string file = directory.Write("milter.conf",
                                       "# tagstrip-milter\n"
                                       "socket inet:8895@127.0.0.1\n"
                                       "socket-mode 0640\n"
                                       "socket-group mail\n"
                                       "timeout 60\n"
                                       "config-dir settings\n"
                                       "module /opt/tagstrip/One.Analyzer\n"
                                       "max-size 2000\n"
                                       "skip-authenticated no\n"
                                       "local-net 10.0.0.0/8\n"
                                       "skip-from skip-from.list\n"
                                       "skip-to " + skipTo + "\n"
                                       "mode score\n"
                                       "keep-signed yes\n"
                                       "foreground yes\n"
                                       "pidfile /run/tagstrip/milter.pid\n"
                                       "user tagstrip\n"
                                       "log-file /var/log/tagstrip-milter.log\n");
    MilterConfiguration configuration({FromCommandLine("config", file)});
    ASSERT_EQ(Load(configuration), std::vector<std::string>());
    const MilterOptions& options = *configuration.Options();
    EXPECT_EQ(options.socket, "inet:8895@127.0.0.1");
    EXPECT_EQ(options.socketMode, 0640u);
    EXPECT_EQ(options.socketGroup, "mail");
    EXPECT_EQ(options.timeout, 60);
    EXPECT_EQ(options.configDirectory, directory.path + "/settings");
    EXPECT_EQ(options.modulePaths, std::vector<std::string>{"/opt/tagstrip/One.Analyzer"});
    EXPECT_EQ(options.maxSize, 2000u);
    EXPECT_FALSE(options.skipAuthenticated);
    EXPECT_TRUE(InLocalNet(options, "10.9.8.7"));
    EXPECT_FALSE(InLocalNet(options, "127.0.0.1"));
    EXPECT_TRUE(options.skipFrom.Matches("bounces@example.com"));
    EXPECT_TRUE(options.skipTo.Matches("anyone@example.org"));
    EXPECT_TRUE(options.scoreOnly);
    EXPECT_TRUE(options.keepSigned);
    EXPECT_TRUE(options.foreground);
    EXPECT_EQ(options.pidFile, "/run/tagstrip/milter.pid");
    EXPECT_EQ(options.user, "tagstrip");
    EXPECT_EQ(options.logFile, "/var/log/tagstrip-milter.log");
}

TEST(MilterConfiguration, TheCommandLineWinsAndReplacesTheFilesModules)
{
    TempDirectory directory;
    std::string file = directory.Write("milter.conf",
                                       "socket unix:/run/tagstrip/file.sock\n"
                                       "module /opt/a.Analyzer\n"
                                       "module /opt/b.Analyzer\n"
                                       "max-size 2000\n"
                                       "skip-authenticated yes\n"
                                       "mode score\n");
    MilterConfiguration configuration({FromCommandLine("config", file),
                                       FromCommandLine("socket", "inet:9000@127.0.0.1"),
                                       FromCommandLine("module", "/opt/c.Analyzer"),
                                       FromCommandLine("no-skip-authenticated"), FromCommandLine("mode", "rewrite")});
    ASSERT_EQ(Load(configuration), std::vector<std::string>());
    const MilterOptions& options = *configuration.Options();
    EXPECT_EQ(options.socket, "inet:9000@127.0.0.1");
    EXPECT_EQ(options.modulePaths, std::vector<std::string>{"/opt/c.Analyzer"});
    EXPECT_EQ(options.maxSize, 2000u);
    EXPECT_FALSE(options.skipAuthenticated);
    EXPECT_FALSE(options.scoreOnly);
}

struct SpellingCase {
    const char* line;
    std::function<bool(const MilterOptions&)> holds;
};

TEST(MilterConfiguration, OptionNamesAsAdminsWriteThem)
{
    const SpellingCase cases[] = {
        {"SkipAuthenticated no", [](const MilterOptions& o) { return !o.skipAuthenticated; }},
        {"skip_authenticated = off", [](const MilterOptions& o) { return !o.skipAuthenticated; }},
        {"No-Skip-Authenticated", [](const MilterOptions& o) { return !o.skipAuthenticated; }},
        {"no-skip-authenticated false", [](const MilterOptions& o) { return o.skipAuthenticated; }},
        {"MAX-SIZE=3000", [](const MilterOptions& o) { return o.maxSize == 3000; }},
        {"MaxSize\t3000   ", [](const MilterOptions& o) { return o.maxSize == 3000; }},
        {"KeepSigned", [](const MilterOptions& o) { return o.keepSigned; }},
        {"keep-signed TRUE", [](const MilterOptions& o) { return o.keepSigned; }},
        {"keep-signed 0", [](const MilterOptions& o) { return !o.keepSigned; }},
        {"local-net \"\"", [](const MilterOptions& o) { return !InLocalNet(o, "127.0.0.1"); }},
        {"LocalNet 192.0.2.0/24, 127.0.0.0/8", [](const MilterOptions& o) { return InLocalNet(o, "192.0.2.9"); }},
        {"socket = \"unix:/run/tagstrip/milter.sock\"",
         [](const MilterOptions& o) { return o.socket == "unix:/run/tagstrip/milter.sock"; }},
    };
    for (const SpellingCase& test : cases) {
        TempDirectory directory;
        std::string file = directory.Write("milter.conf", std::string("  ") + test.line + "\n");
        MilterConfiguration configuration({FromCommandLine("config", file)});
        ASSERT_EQ(Load(configuration), std::vector<std::string>()) << test.line;
        EXPECT_TRUE(test.holds(*configuration.Options())) << test.line;
    }
}

TEST(MilterConfiguration, EveryProblemNamesItsFileAndLine)
{
    TempDirectory directory;
    std::string list = directory.Write("bad.list", "good@example.com\n/(unbalanced/\n");
    std::string file = directory.Write("milter.conf",
                                       "bogus-option 1\n"                  // 1
                                       "help\n"                            // 2
                                       "socket\n"                          // 3
                                       "max-size 0\n"                      // 4
                                       "local-net 10.0.0.0/33\n"           // 5
                                       "# socket tcp:25\n"                 // 6
                                       "socket tcp:25\n"                   // 7
                                       "skip-to /nonexistent/skip.list\n"  // 8
                                       "skip-from " + list + "\n"          // 9
                                       "keep-signed maybe\n"               // 10
                                       "config other.conf\n"               // 11
                                       "timeout 60\n");                    // 12
    MilterConfiguration configuration({FromCommandLine("config", file)});
    std::vector<std::string> problems = Load(configuration);
    const std::string wanted[] = {
        file + ":1: unknown option 'bogus-option'", file + ":2: help is for the command line only",
        file + ":3: socket wants a value",          file + ":4: max-size: ",
        file + ":5: local-net: '10.0.0.0/33'",      file + ":7: socket: bad socket 'tcp:25'",
        file + ":8: cannot read /nonexistent/skip.list: No such file",
        list + ":2: bad regular expression /(unbalanced/",
        file + ":10: keep-signed: wants yes or no", file + ":11: config is for the command line only",
    };
    for (const std::string& prefix : wanted) {
        auto found = std::find_if(problems.begin(), problems.end(),
                                  [&](const std::string& problem) { return problem.rfind(prefix, 0) == 0; });
        EXPECT_NE(found, problems.end()) << "no problem starts with " << prefix;
    }
    EXPECT_EQ(problems.size(), std::size(wanted));
}

TEST(MilterConfiguration, OnlyAFileNamedWithConfigMustExist)
{
    TempDirectory directory;
    MilterConfiguration named({FromCommandLine("config", directory.File("missing.conf"))});
    std::vector<std::string> problems = Load(named);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(directory.File("missing.conf") + ": cannot read: No such file", 0), 0u)
        << problems[0];
    std::vector<OptionSetting> settings;
    problems.clear();
    EXPECT_TRUE(ReadConfigFile(directory.File("missing.conf"), false, settings, problems));
    EXPECT_TRUE(settings.empty() && problems.empty());
}

TEST(MilterConfiguration, ReloadTakesNewValuesButKeepsThoseOfTheStartAndSurvivesABadFile)
{
    TempDirectory directory;
    std::string list = directory.Write("skip.list", "old@example.com\n");
    std::string file = directory.Write("milter.conf", "socket unix:/run/a.sock\nmax-size 2000\nskip-from skip.list\n");
    MilterConfiguration configuration({FromCommandLine("config", file), FromCommandLine("user", "tagstrip")});
    ASSERT_EQ(Load(configuration), std::vector<std::string>());
    std::shared_ptr<const MilterOptions> first = configuration.Options();

    directory.Write("milter.conf", "socket unix:/run/b.sock\nmax-size 3000\nskip-from skip.list\nuser nobody\n"
                                   "timeout 60\n");
    directory.Write("skip.list", "new@example.com\n");
    std::vector<std::string> problems;
    std::vector<std::string> restartNeeded;
    ASSERT_TRUE(configuration.Reload(problems, restartNeeded)) << problems.front();
    EXPECT_EQ(restartNeeded, (std::vector<std::string>{"socket", "timeout"}));
    std::shared_ptr<const MilterOptions> second = configuration.Options();
    EXPECT_EQ(second->socket, "unix:/run/a.sock");
    EXPECT_EQ(second->timeout, 7210);
    EXPECT_EQ(second->user, "tagstrip");
    EXPECT_EQ(second->maxSize, 3000u);
    EXPECT_TRUE(second->skipFrom.Matches("new@example.com"));
    EXPECT_FALSE(second->skipFrom.Matches("old@example.com"));
    EXPECT_TRUE(first->skipFrom.Matches("old@example.com")) << "a connection's options changed under it";

    directory.Write("skip.list", "/(/\n");
    problems.clear();
    EXPECT_FALSE(configuration.Reload(problems, restartNeeded));
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_EQ(configuration.Options(), second);
}

}  // namespace
