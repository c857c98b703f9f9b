#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/host_test_support.h"

namespace {

const std::vector<std::string> kSamples = {
    "alternative-cid", "iframes",    "nested-mixed", "newsletter",
    "plain-text",      "read-receipt", "script-refresh", "stylesheet",
};

// Filter inputs beyond the samples: an mbox envelope line on top, and a NUL byte.
const std::vector<std::string> kFilterInputs = {"envelope", "nul-byte"};

std::string SamplePath(const std::string& name)
{
    return "examples/" + name + ".eml";
}

std::string SampleText(const std::string& name)
{
    return ReadTextFile(SourcePath(SamplePath(name)));
}

std::vector<std::string> FileNames(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The message without the two headers that filter adds.
std::string WithoutTagstripHeaders(const std::string& filtered)
{
    std::size_t start = filtered.find('\n') + 1;  // X-Tagstrip-Score
    do {
        start = filtered.find('\n', start) + 1;  // X-Tagstrip-Findings and its continuation lines
    } while (filtered[start] == '\t');
    return filtered.substr(start);
}

// These tests pin the output of our own analyzer, so they run it alone unless they name
// a module themselves.
class HostProgramTest : public ::testing::Test {
protected:
    RunResult Run(std::vector<std::string> arguments, const std::string& stdinText = "") const
    {
        arguments.insert(arguments.begin() + 1, {"--config-dir", config.path});
        if (std::find(arguments.begin(), arguments.end(), "--module") == arguments.end()) {
            arguments.insert(arguments.begin() + 1, {"--module", TAGSTRIP_ANALYZER_MODULE});
        }
        return RunTagstrip(arguments, stdinText);
    }

    // What check --output makes of one message.
    std::string RewrittenByCheck(const std::string& message) const
    {
        TempDirectory work;
        std::string input = work.Write("message.eml", message);
        RunResult result = Run({"check", "--output", work.File("out"), input});
        EXPECT_EQ(result.status, 0) << result.err;
        return ReadTextFile(work.File("out/message.eml"));
    }

    TempDirectory config;
};

TEST_F(HostProgramTest, CheckOnTheSamplesMatchesItsGolden)
{
    std::vector<std::string> arguments = {"check"};
    for (const std::string& name : kSamples) {
        arguments.push_back(SamplePath(name));
    }
    RunResult result = Run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    ExpectMatchesGolden(result.out, "check/samples.out");
}

TEST_F(HostProgramTest, FilterOnTheSamplesMatchesTheGoldens)
{
    for (const std::string& name : kSamples) {
        RunResult result = Run({"filter"}, SampleText(name));
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        ExpectMatchesGolden(result.out, "filter/" + name + ".out.eml");
    }
    for (const std::string& name : kFilterInputs) {
        RunResult result = Run({"filter"}, ReadTextFile(SourcePath("tests/data/filter/" + name + ".in.eml")));
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        ExpectMatchesGolden(result.out, "filter/" + name + ".out.eml");
    }
}

TEST_F(HostProgramTest, ScanOnTheSamplesMatchesItsGoldens)
{
    RunResult table = Run({"scan", "examples/"});
    EXPECT_EQ(table.status, 0) << table.err;
    ExpectMatchesGolden(WithoutTimings(table.out), "scan/examples.out");
    RunResult json = Run({"scan", "--json", "examples/"});
    EXPECT_EQ(json.status, 0) << json.err;
    ExpectMatchesGolden(WithoutTimings(json.out), "scan/examples.jsonl");
}

TEST_F(HostProgramTest, FilterChangesNothingButTheAddedHeadersWhenNothingIsRemoved)
{
    for (const char* name : {"plain-text", "read-receipt", "nested-mixed", "alternative-cid", "iframes"}) {
        std::string message = SampleText(name);
        RunResult result = Run({"filter"}, message);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out.compare(0, 18, "X-Tagstrip-Score: "), 0) << name;
        EXPECT_EQ(WithoutTagstripHeaders(result.out), message) << name;
    }
}

// Into a pipe, where a failed write cannot be undone, filter frees a big message during
// the analysis when it can do without it; what it writes is the same as into a file.
TEST_F(HostProgramTest, FilterWritesABigMessageAlikeIntoAPipeAndAFile)
{
    const struct {
        const char* lineEnd;
        const char* paragraph;
        const char* oddLine;
    } rows[] = {
        {"\n", "<p>a paragraph<script>s()</script></p>", ""},
        {"\n", "<p>a paragraph of plain words</p>", ""},
        {"\r\n", "<p>a paragraph<script>s()</script></p>", ""},
        {"\r\n", "<p>a paragraph of plain words</p>", ""},
        {"\n", "<p>a paragraph<script>s()</script></p>", "<p>a line of its own</p>\r\n"},
        {"\r\n", "<p>a paragraph of plain words</p>", "<p>a line of its own</p>\n"},
    };
    for (const auto& row : rows) {
        const std::string lineEnd = row.lineEnd;
        std::string message = "Subject: big" + lineEnd + "Content-Type: text/html" + lineEnd + lineEnd;
        for (int paragraph = 0; paragraph < 40000; ++paragraph) {
            message += row.paragraph + lineEnd;
        }
        message += std::string(row.oddLine) + "LAST-WORD" + lineEnd;
        const RunResult intoFile = Run({"filter", "--max-size", "0"}, message);
        const RunResult intoPipe = RunTagstripIntoPipe({"filter", "--module", TAGSTRIP_ANALYZER_MODULE, "--config-dir",
                                                        config.path, "--max-size", "0"},
                                                       message);
        ASSERT_EQ(intoFile.status, 0) << intoFile.err;
        EXPECT_EQ(intoPipe.status, 0) << intoPipe.err;
        EXPECT_EQ(intoPipe.err, intoFile.err);
        EXPECT_TRUE(intoPipe.out == intoFile.out) << row.paragraph << row.oddLine;
        const bool removable = std::string(row.paragraph).find("<script>") != std::string::npos;
        EXPECT_EQ(WithoutTagstripHeaders(intoPipe.out) == message, !removable) << row.paragraph;
    }
}

TEST_F(HostProgramTest, RefusesAModuleThatIsMissingOrLacksAnEntryPoint)
{
    struct {
        std::string module;
        std::string named;
    } rows[] = {
        {"/nonexistent/Tagstrip.Analyzer", "/nonexistent/Tagstrip.Analyzer"},
        {TAGSTRIP_NINE_ENTRY_POINTS, "GetAnalyzerIconID"},
    };
    for (const auto& row : rows) {
        for (const char* command : {"check", "scan"}) {
            RunResult result = Run({command, "--module", row.module, "examples/plain-text.eml"});
            EXPECT_EQ(result.status, 2) << command;
            EXPECT_NE(result.err.find(row.named), std::string::npos) << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
}

TEST_F(HostProgramTest, NamesTheFileThatFailsAndGoesOnWithTheRest)
{
    struct {
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {{"scan", "examples/plain-text.eml", "examples/mailbox.mbox"},
         "tagstrip: examples/plain-text.eml: not a mailbox"},
        {{"scan", "/proc/self/mem", "examples/mailbox.mbox"}, "tagstrip: /proc/self/mem: cannot read"},
        {{"scan", "/nonexistent/box", "examples/mailbox.mbox"}, "tagstrip: /nonexistent/box: cannot open"},
        {{"check", "examples", "examples/plain-text.eml"}, "tagstrip: examples: is a directory"},
    };
    for (const auto& row : rows) {
        RunResult result = Run(row.arguments);
        EXPECT_EQ(result.status, 1) << row.error;
        EXPECT_NE(result.err.find(row.error), std::string::npos) << result.err;
        bool wentOn = result.out.find("Messages        8\n") != std::string::npos ||
                      result.out.find("examples/plain-text.eml: not HTML") != std::string::npos;
        EXPECT_TRUE(wentOn) << result.out;
    }
}

// Into one pipe, where standard output is buffered and standard error is not, each error
// still comes after what was printed before it, and nothing is lost at the end.
TEST_F(HostProgramTest, KeepsOutputAndErrorsInOrderInOnePipe)
{
    RunResult result = RunTagstripMergedIntoPipe({"check", "--config-dir", config.path, "examples/plain-text.eml",
                                                  "/nonexistent/a.eml", "examples/plain-text.eml"});
    EXPECT_EQ(result.status, 1);
    const std::string checked = "examples/plain-text.eml: not HTML, score 0\n";
    const std::string failed = "tagstrip: /nonexistent/a.eml: cannot open: No such file or directory\n";
    EXPECT_EQ(result.out, checked + failed + checked);
}

TEST_F(HostProgramTest, MboxRewriteKeepsEveryMessageAndTheUntouchedOnesByteForByte)
{
    TempDirectory work;
    std::string original = ReadTextFile(SourcePath("examples/mailbox.mbox"));
    std::string mbox = work.Write("mailbox.mbox", original);
    RunResult result = Run({"scan", "--rewrite", mbox});
    ASSERT_EQ(result.status, 0) << result.err;

    std::vector<MboxMessage> before = ReadMboxMessages(SourcePath("examples/mailbox.mbox"));
    std::vector<MboxMessage> after = ReadMboxMessages(mbox);
    ASSERT_EQ(after.size(), before.size());
    int rewritten = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].fromLine, before[i].fromLine);
        EXPECT_EQ(after[i].separator, before[i].separator);
        std::string expected = RewrittenByCheck(before[i].text);
        rewritten += !expected.empty();
        EXPECT_EQ(after[i].text, expected.empty() ? before[i].text : expected) << "message " << i + 1;
    }
    EXPECT_GT(rewritten, 0);
    EXPECT_EQ(FileNames(work.path), std::vector<std::string>{"mailbox.mbox"});
}

TEST_F(HostProgramTest, MboxRewriteGivesUpOnALockedMailbox)
{
    TempDirectory work;
    std::string original = ReadTextFile(SourcePath("examples/mailbox.mbox"));
    std::string mbox = work.Write("mailbox.mbox", original);
    work.Write("mailbox.mbox.lock", "");
    RunResult result = Run({"scan", "--rewrite", "--lock-wait", "1", mbox});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("locked"), std::string::npos) << result.err;
    EXPECT_EQ(ReadTextFile(mbox), original);
    EXPECT_EQ(FileNames(work.path), (std::vector<std::string>{"mailbox.mbox", "mailbox.mbox.lock"}));
}

TEST_F(HostProgramTest, MaildirRewriteReplacesOnlyTheRewrittenMessages)
{
    TempDirectory maildir;
    for (const char* sub : {"cur", "new", "tmp"}) {
        std::filesystem::create_directory(maildir.File(sub));
    }
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kSamples.size(); ++i) {
        std::string name = (i % 2 ? "cur/1760000000." : "new/1760000000.") + std::to_string(i) + ".example";
        paths.push_back(maildir.Write(name + (i % 2 ? ":2,S" : ""), SampleText(kSamples[i])));
    }
    RunResult result = Run({"scan", "--rewrite", maildir.path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Messages        8\n"), std::string::npos) << result.out;
    for (std::size_t i = 0; i < kSamples.size(); ++i) {
        std::string message = SampleText(kSamples[i]);
        std::string expected = RewrittenByCheck(message);
        EXPECT_EQ(ReadTextFile(paths[i]), expected.empty() ? message : expected) << kSamples[i];
    }
    EXPECT_EQ(FileNames(maildir.File("tmp")), std::vector<std::string>{});
}

TEST_F(HostProgramTest, CheckInPlaceKeepsTheOriginalUnlessToldNotTo)
{
    TempDirectory work;
    std::string message = SampleText("script-refresh");
    std::string kept = work.Write("kept.eml", message);
    std::string bare = work.Write("bare.eml", message);
    ASSERT_EQ(Run({"check", "--in-place", kept}).status, 0);
    ASSERT_EQ(Run({"check", "--in-place", "--no-backup", bare}).status, 0);
    EXPECT_EQ(ReadTextFile(kept), RewrittenByCheck(message));
    EXPECT_NE(ReadTextFile(kept), message);
    EXPECT_EQ(ReadTextFile(kept + ".orig"), message);
    EXPECT_EQ(FileNames(work.path), (std::vector<std::string>{"bare.eml", "kept.eml", "kept.eml.orig"}));
}

TEST_F(HostProgramTest, SettingsWrittenByTheHostReachTheAnalyzer)
{
    RunResult set = Run({"settings", "--set", "Flags=0", "--set", "script=7", "--set", "Formatting=0"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("Flags         0 (removes nothing)\n"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("  Script             7\n"), std::string::npos) << set.out;
    RunResult check = Run({"check", SamplePath("script-refresh")});
    EXPECT_EQ(check.out, "examples/script-refresh.eml: unchanged, score 7\n"
                         "       7 Tagstrip - 'Script found.'\n");
}

TEST_F(HostProgramTest, SettingsRefuseValuesOutOfRange)
{
    for (const char* assignment : {"PointsWebBugs=100000", "Flags=256", "Active=2", "Links=-1", "Colour=1"}) {
        RunResult result = Run({"settings", "--set", assignment});
        EXPECT_EQ(result.status, 2) << assignment;
        EXPECT_EQ(ReadTextFile(config.File("Tagstrip.ini")), "") << assignment;
    }
}

TEST_F(HostProgramTest, HandEditedSettingsAreMarkedWarnedAboutAndLinted)
{
    WriteTextFile(config.File("Tagstrip.ini"),
                  "[General]\nActive=1\n[Settings]\nFlags=abc\nPointsScrpt=5\nPointsLinks=1000000\n");
    RunResult shown = Run({"settings"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Flags         0 (removes nothing)  <- bad: not a whole number; use 0 to 255\n"),
              std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("  Links         1000000  <- bad: out of range; use 0 to 99999\n"), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("Tagstrip.ini:5: [Settings] PointsScrpt: a key the analyzer does not know"),
              std::string::npos) << shown.out;

    RunResult lint = Run({"settings", "--check"});
    EXPECT_EQ(lint.status, 1);
    EXPECT_EQ(std::count(lint.out.begin(), lint.out.end(), '\n'), 3) << lint.out;

    RunResult check = Run({"check", SamplePath("plain-text")});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(std::count(check.err.begin(), check.err.end(), '\n'), 3) << check.err;

    WriteTextFile(config.File("Tagstrip.ini"), "[General]\nActive=0\n[Settings]\nFlags=65\n");
    RunResult clean = Run({"settings", "--check"});
    EXPECT_EQ(clean.status, 0) << clean.out;
    RunResult inactive = Run({"check", SamplePath("script-refresh")});
    EXPECT_EQ(inactive.out, "examples/script-refresh.eml: inactive, score 0\n");
}

TEST(HostProgram, OnlyChangingSettingsCreatesTheirDirectoryAndOnlyItsLastPart)
{
    TempDirectory work;
    struct {
        std::vector<std::string> arguments;
        int status;
        std::string created;   // directory that must exist afterwards, or ""
        std::string absent;    // directory that must not
    } rows[] = {
        {{"settings", "--config-dir", work.File("new"), "--set", "Active=0"}, 0, work.File("new"), ""},
        {{"settings", "--config-dir", work.File("a/b"), "--set", "Active=0"}, 1, "", work.File("a")},
        {{"settings", "--config-dir", work.File("shown")}, 1, "", work.File("shown")},
        {{"check", "--config-dir", work.File("checked"), "examples/plain-text.eml"}, 2, "", work.File("checked")},
    };
    for (const auto& row : rows) {
        RunResult result = RunTagstrip(row.arguments);
        EXPECT_EQ(result.status, row.status) << row.arguments[2] << ": " << result.err;
        if (!row.created.empty()) {
            EXPECT_TRUE(std::filesystem::is_directory(row.created)) << row.created;
        }
        if (!row.absent.empty()) {
            EXPECT_FALSE(std::filesystem::exists(row.absent)) << row.absent;
            EXPECT_NE(result.err.find(row.absent), std::string::npos) << result.err;
        }
    }
}

}  // namespace
