// scan on several threads reports, writes back and fails exactly as it does on one: the
// same standard output and error, the same mailbox bytes, for an mbox, a Maildir and a
// directory of message files with an mbox among them. Both analyzer modules run.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include "tests/support/host_test_support.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::vector<std::string>> kThreadOptions = {{"-j2"}, {"--jobs=4"}, {"-j", "8"}};

std::string Base64(const std::string& bytes)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        unsigned group = static_cast<unsigned char>(bytes[at]) << 16;
        group |= at + 1 < bytes.size() ? static_cast<unsigned char>(bytes[at + 1]) << 8 : 0;
        group |= at + 2 < bytes.size() ? static_cast<unsigned char>(bytes[at + 2]) : 0;
        encoded += kAlphabet[group >> 18];
        encoded += kAlphabet[(group >> 12) & 63];
        encoded += at + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
        encoded += at + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
        if (at % 57 == 54) {
            encoded += '\n';
        }
    }
    return encoded + '\n';
}

// Quoted-printable with "=" escaped and soft breaks every 60 characters.
std::string QuotedPrintable(const std::string& text)
{
    std::string encoded;
    std::size_t column = 0;
    for (char character : text) {
        std::string piece = character == '=' ? "=3D" : std::string(1, character);
        if (character == '\n') {
            column = 0;
        } else if (column + piece.size() > 60) {
            encoded += "=\n";
            column = 0;
        }
        encoded += piece;
        column += character == '\n' ? 0 : piece.size();
    }
    return encoded;
}

std::string Page(int number, std::size_t atLeast)
{
    std::string page = "<html><head><style>p{color:red}</style></head><body bgcolor=white>\n";
    while (page.size() < atLeast) {
        page += "<p>Offer " + std::to_string(number) + " <a href=\"http://shop.example/item?id=" +
                std::to_string(page.size()) + "\">here</a> <font size=2>small print</font>"
                "<img src=\"http://img.example/p" + std::to_string(number) + ".gif\" width=1 height=1></p>\n";
    }
    if (number % 3 == 0) {
        page += "<script>track(" + std::to_string(number) + ")</script>\n";
    }
    return page + "</body></html>\n";
}

std::string Headers(int number, const std::string& contentType)
{
    std::string headers = "From: sender" + std::to_string(number) + "@example.com\nTo: you@example.org\n"
                          "Subject: message " + std::to_string(number) + "\nMIME-Version: 1.0\n";
    if (number % 5 == 0) {
        headers += "Disposition-Notification-To: sender@example.com\n";
    }
    return headers + "Content-Type: " + contentType + "\n";
}

// A message of one of several shapes; the long ones take the analyzer's temporary file.
std::string Message(int number)
{
    const std::string alternative = "multipart/alternative; boundary=\"b" + std::to_string(number) + "\"";
    const std::string boundary = "--b" + std::to_string(number);
    switch (number % 8) {
    case 0:
        return Headers(number, "text/plain") + "\nJust words.\nFrom here on, a line that an mbox quotes.\n";
    case 1:
        return Headers(number, "text/html") + "\n" + Page(number, 300) + "From the editor, with thanks\n";
    case 2:
        return Headers(number, "text/html") + "\n" + Page(number, 20000 + 1000 * number);
    case 3:
        return Headers(number, alternative) + "\n" + boundary + "\nContent-Type: text/plain\n\nplain\n" + boundary +
               "\nContent-Type: text/html\nContent-Transfer-Encoding: quoted-printable\n\n" +
               QuotedPrintable(Page(number, 2000)) + boundary + "--\n";
    case 4:
        return Headers(number, alternative) + "\n" + boundary +
               "\nContent-Type: text/html\nContent-Transfer-Encoding: base64\n\n" + Base64(Page(number, 30000)) +
               boundary + "--\n";
    case 5:
        return Headers(number, "text/html") + "Content-Transfer-Encoding: base64\n\n" +
               Base64(Page(number, 500)).substr(4) + "!!\n";
    case 6: {
        std::string crlf;
        for (char character : Headers(number, "text/html") + "\n" + Page(number, 800)) {
            crlf += character == '\n' ? std::string("\r\n") : std::string(1, character);
        }
        return crlf;
    }
    default:
        return Headers(number, "text/html") + std::string("\nwith a NUL\0byte", 16) + Page(number, 100);
    }
}

void WriteMbox(const std::string& path, int first, int count)
{
    std::string mbox;
    for (int number = first; number < first + count; ++number) {
        mbox += "From sender" + std::to_string(number) + "@example.com Mon Dec  7 00:00:00 2026\n" +
                Message(number) + "\n";
    }
    WriteTextFile(path, mbox);
}

enum class Layout { Mbox, Maildir, Directory };

// The mailbox to scan, made afresh as "box" in a directory of its own, where the backups
// of --backup go too; the path to give scan. The directory of message files holds an
// mbox, an empty file and one that cannot be read among them.
std::string MakeMailbox(Layout layout, const TempDirectory& where)
{
    const std::string box = where.File("box");
    switch (layout) {
    case Layout::Mbox:
        WriteMbox(box, 0, 48);
        break;
    case Layout::Maildir:
        for (const char* folder : {"", "/cur", "/new", "/tmp"}) {
            fs::create_directory(box + folder);
        }
        for (int number = 0; number < 40; ++number) {
            where.Write((number % 2 ? "box/cur/17650000" : "box/new/17650000") + std::to_string(10 + number) +
                            ".1.example" + (number % 2 ? ":2,S" : ""),
                        Message(number));
        }
        break;
    case Layout::Directory:
        fs::create_directory(box);
        for (int number = 0; number < 24; ++number) {
            where.Write("box/message" + std::to_string(10 + number), Message(number));
        }
        WriteMbox(box + "/message20.mbox", 100, 16);
        where.Write("box/message22", "");
        fs::create_symlink("/proc/self/mem", box + "/message15a");
        break;
    }
    return box;
}

// Every file under directory, by its relative name.
std::map<std::string, std::string> Files(const std::string& directory)
{
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[fs::relative(entry.path(), directory)] = ReadTextFile(entry.path());
        }
    }
    return files;
}

// The output without the lines that depend on timing, and with the mailbox's own
// directory named the same whatever it is.
std::string Comparable(std::string output, const std::string& directory)
{
    for (std::size_t at = output.find(directory); at != std::string::npos; at = output.find(directory, at)) {
        output.replace(at, directory.size(), "MAILBOX");
    }
    return WithoutTimings(output);
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
    std::map<std::string, std::string> files;
};

class ScanJobsTest : public testing::TestWithParam<Layout> {
protected:
    void SetUp() override
    {
        config.Write("Tagstrip.ini", "[Settings]\nFlags=255\n");
        config.Write("Remote.ini", "[Settings]\nFlags=15\n");
    }

    Outcome Scan(const std::vector<std::string>& options) const
    {
        TempDirectory where;
        std::vector<std::string> arguments = {"scan", "--config-dir", config.path};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(MakeMailbox(GetParam(), where));
        RunResult result = RunTagstrip(arguments);
        EXPECT_EQ(result.err.find("ThreadSanitizer"), std::string::npos) << result.err;
        return {result.status, Comparable(result.out, where.path), Comparable(result.err, where.path),
                Files(where.path)};
    }

    void ExpectSameOnEveryThreadCount(const std::vector<std::string>& options) const
    {
        std::vector<std::string> oneThread = {"-j", "1"};
        oneThread.insert(oneThread.end(), options.begin(), options.end());
        const Outcome expected = Scan(oneThread);
        for (const std::vector<std::string>& threads : kThreadOptions) {
            std::vector<std::string> withThreads = threads;
            withThreads.insert(withThreads.end(), options.begin(), options.end());
            const Outcome actual = Scan(withThreads);
            const std::string what = threads.front() + " " + (options.empty() ? "" : options.front());
            EXPECT_EQ(actual.status, expected.status) << what;
            EXPECT_EQ(actual.out, expected.out) << what;
            EXPECT_EQ(actual.err, expected.err) << what;
            EXPECT_TRUE(actual.files == expected.files) << what;
        }
    }

    TempDirectory config;
};

TEST_P(ScanJobsTest, SummaryTableIsTheSameOnAnyNumberOfThreads)
{
    ExpectSameOnEveryThreadCount({});
}

TEST_P(ScanJobsTest, JsonLinesAreTheSameOnAnyNumberOfThreads)
{
    ExpectSameOnEveryThreadCount({"--json"});
}

TEST_P(ScanJobsTest, RewrittenMailboxIsTheSameOnAnyNumberOfThreads)
{
    ExpectSameOnEveryThreadCount({"--rewrite", "--backup"});
}

std::string LayoutName(const testing::TestParamInfo<Layout>& info)
{
    const char* const names[] = {"Mbox", "Maildir", "Directory"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScanJobsTest, testing::Values(Layout::Mbox, Layout::Maildir, Layout::Directory),
                         LayoutName);

TEST(ScanJobs, RefusesAThreadCountThatIsNotAPositiveNumber)
{
    const std::vector<std::vector<std::string>> cases = {
        {"-j", "0"}, {"-jx"}, {"--jobs=-1"}, {"--jobs", "4x"}, {"-j", "257"}, {"--jobs="},
    };
    for (const std::vector<std::string>& options : cases) {
        std::vector<std::string> arguments = {"scan"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back("examples/mailbox.mbox");
        RunResult result = RunTagstrip(arguments);
        EXPECT_EQ(result.status, 2) << options.front();
        EXPECT_NE(result.err.find("-j/--jobs takes a whole number"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "") << options.front();
    }
}

}  // namespace
