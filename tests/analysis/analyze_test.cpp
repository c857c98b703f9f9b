// Messages through the real module: what each category's removal leaves, which parts
// stay byte for byte, and the long-message path through a temporary file.
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/filter_run.h"
#include "module_harness.h"

namespace {

const std::string kHtmlHead = "From: a@example.org\r\nContent-Type: text/html\r\n\r\n";

const std::string kAlternativeHead =
    "From: a@example.org\r\nContent-Type: multipart/alternative;\r\n\tboundary=\"ALT\"\r\n\r\n"
    "This is a multi-part message.\r\n";
const std::string kPlainPart =
    "--ALT\r\nContent-Type: text/plain; charset=iso-8859-1\r\n\r\n"
    "Hello <script>not html</script>\r\n  indented\ttabs  \r\n\r\n";

struct RemovalCase {
    const char* name;
    int flags;
    std::string message;
    std::string filtered;
};

// The line end behind the last tag is what the "\r\n\r\n" after an HTML body replaces.
RemovalCase InHtmlBody(const char* name, int flags, const std::string& html, const std::string& kept)
{
    return {name, flags, kHtmlHead + html + "\r\n", kHtmlHead + kept + "\r\n\r\n"};
}

class RemovalTable : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(RemovalTable, FoundContentLeavesTheMessage)
{
    ModuleHarness harness;
    const ModuleHarness::Result result = harness.Analyze(GetParam().message, GetParam().flags);
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(result.text, GetParam().filtered);
}

INSTANTIATE_TEST_SUITE_P(
    Categories, RemovalTable,
    ::testing::Values(
        InHtmlBody("Script", 0x01, "<p>a</p><script>alert(1)</script><p>b</p>", "<p>a</p><p>b</p>"),
        InHtmlBody("Formatting", 0x02, "<p><font color=\"red\">a</font></p>", "<p>a</p>"),
        InHtmlBody("ImagesExt", 0x04, "<p><img src=\"http://example.com/a.gif\" alt=\"logo\"></p>", "<p>[logo]</p>"),
        InHtmlBody("ImagesInt", 0x10, "<p><img src=\"CID:part1@example.org\" alt=\"inline\"></p>", "<p>[inline]</p>"),
        InHtmlBody("Links", 0x08, "<p><a href=\"http://example.com/\">here</a></p>", "<p>here</p>"),
        InHtmlBody("ExternalRefs", 0x20, "<p>a</p><iframe src=\"http://example.com/\"></iframe>", "<p>a</p>"),
        InHtmlBody("WebBugs", 0x40, "<p><img src=\"http://example.com/t.gif?u=1\"></p>", "<p></p>"),
        RemovalCase{"ReadReceiptInMessageHeader", 0x80,
                    "From: a@example.org\r\nDisposition-Notification-To: a@example.org\r\n"
                    "Content-Type: text/html\r\n\r\nhi\r\n",
                    "From: a@example.org\r\nContent-Type: text/html\r\n\r\nhi\r\n\r\n"},
        RemovalCase{"ReadReceiptInPartHeader", 0x80,
                    kAlternativeHead + "--ALT\r\nContent-Type: text/html\r\n"
                                       "Disposition-Notification-To: <a@example.org>\r\n\r\nhi\r\n--ALT--\r\n",
                    kAlternativeHead + "--ALT\r\nContent-Type: text/html\r\n\r\nhi\r\n\r\n--ALT--\r\n"},
        RemovalCase{"AlternativePlainPartStaysByteForByte", 0x01,
                    kAlternativeHead + kPlainPart +
                        "--ALT\r\nContent-Type: text/html\r\n\r\n<p>Hello <script>x</script></p>\r\n--ALT--\r\n",
                    kAlternativeHead + kPlainPart + "--ALT\r\nContent-Type: text/html\r\n\r\n<p>Hello </p>\r\n\r\n--ALT--\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// An HTML message of exactly the given length, with something to remove.
std::string HtmlMessageOfLength(std::size_t length)
{
    const std::string head = kHtmlHead + "<p>Offer</p><script>track()</script>\r\n";
    std::string message = head;
    while (message.size() < length) {
        message += "<p>filler text for a long newsletter</p>\r\n";
    }
    message.resize(length - 2);
    return message + "\r\n";
}

// Counts the files made in a directory while it is watched.
class CreationWatch {
public:
    explicit CreationWatch(const std::filesystem::path& directory) : descriptor(inotify_init1(IN_NONBLOCK))
    {
        inotify_add_watch(descriptor, directory.c_str(), IN_CREATE);
    }
    ~CreationWatch() { close(descriptor); }

    int Created() const
    {
        alignas(inotify_event) char events[4096];
        int count = 0;
        ssize_t length;
        while ((length = read(descriptor, events, sizeof events)) > 0) {
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + offset);
                count += std::string(event->name).rfind("tmp", 0) == 0 ? 1 : 0;
                offset += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    }

private:
    int descriptor;
};

struct LengthCase {
    std::size_t length;
    int filesMade;
};

class LongMessage : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LongMessage, SameTextThroughFileAsInMemoryAndNoFileLeft)
{
    ModuleHarness harness;
    const std::string message = HtmlMessageOfLength(GetParam().length);
    ASSERT_EQ(message.size(), GetParam().length);
    const CreationWatch watch(harness.TempDirectory());
    const ModuleHarness::Result result = harness.Analyze(message, 0x01);
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(result.text, FilterMessage(message, 0x01));
    EXPECT_EQ(watch.Created(), GetParam().filesMade);
    EXPECT_TRUE(std::filesystem::is_empty(harness.TempDirectory()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongMessage,
                         ::testing::Values(LengthCase{20000, 0}, LengthCase{20001, 1}, LengthCase{250000, 1}),
                         [](const auto& info) { return "Length" + std::to_string(info.param.length); });

class UnusableTempDirectory : public ::testing::TestWithParam<const char*> {};

TEST_P(UnusableTempDirectory, StillGivesTheWholeFilteredMessage)
{
    ModuleHarness harness;
    const std::filesystem::path regularFile = harness.TempDirectory() / "plain-file";
    std::ofstream(regularFile) << "x";
    const std::string directory = GetParam()[0] == '/' ? GetParam() : (harness.TempDirectory() / GetParam()).string();
    setenv("TMPDIR", directory.c_str(), 1);
    const std::string message = HtmlMessageOfLength(30000);
    const ModuleHarness::Result result = harness.Analyze(message, 0x01);
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(result.text, FilterMessage(message, 0x01));
}

INSTANTIATE_TEST_SUITE_P(Directories, UnusableTempDirectory,
                         ::testing::Values("missing/directory", "plain-file", "/proc"));


// Caps the address space at what the process uses now plus headroom.
void LimitMemoryTo(std::size_t headroom)
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * sysconf(_SC_PAGESIZE) + headroom;
    const rlimit capped{limit, limit};
    setrlimit(RLIMIT_AS, &capped);
}

// Room for half the filtered text, which is made after the temporary file: the analysis
// throws, the entry point catches it.
void AnalyzeWithoutEnoughMemory(ModuleHarness& harness, const std::string& message)
{
    CString text(message.data(), static_cast<int>(message.size()));
    AnalysisRecord record{&text, 0, 0, 7, CString("before\n")};
    LimitMemoryTo(message.size() / 2);
    const int replaced = harness.Analyze(record, 0x01);
    const bool unchanged = replaced == 0 && text.GetLength() == static_cast<int>(message.size()) &&
                           record.score == 7 && std::string(record.findings) == "before\n";
    _exit(unchanged && std::filesystem::is_empty(harness.TempDirectory()) ? 0 : 1);
}

TEST(AnalyzeDeathTest, OutOfMemoryLeavesRecordAsItWasAndNoFile)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer ends the process when memory runs out instead of throwing";
#endif
    ModuleHarness harness;
    const std::string message = HtmlMessageOfLength(64 << 20);
    EXPECT_EXIT(AnalyzeWithoutEnoughMemory(harness, message), ::testing::ExitedWithCode(0), "");
}

}  // namespace
