// Eight threads analyse mail at once through the real module, six of them with one
// shared analyzer instance and two with an instance of their own, while a ninth thread,
// the host's user-interface thread, keeps saving new settings through the configuration
// page. Every analysis must give exactly what a lone analysis gives under one of the
// settings the page switches between; the other instance is never disturbed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host/analyzer_module.h"
#include "cli/settings_window.h"
#include "page/analyzer_page.h"
#include "platform/ui/headless/headless_front_end.h"
#include "platform/kernel/windows.h"

namespace {

constexpr int kDefaultFlags = 0x41;
constexpr int kPageFlags = 0x4B;  // the page also ticks Formatting and Links
constexpr int kFormattingRemoveBox = 12009;
constexpr int kLinksRemoveBox = 12010;
constexpr int kRounds = 40;

struct Outcome {
    int replaced;
    std::string text;
    int score;
    std::string findings;

    bool operator==(const Outcome& other) const
    {
        return replaced == other.replaced && text == other.text && score == other.score
            && findings == other.findings;
    }
    bool operator!=(const Outcome& other) const { return !(*this == other); }
};

std::vector<std::string> Messages()
{
    const std::string html =
        "<html><body bgcolor=white><p>Hello <a href=\"http://example.com/x\" target=_top>there</a>"
        "<font color=red>!</font><img src=\"http://example.net/p.gif?id=9\" alt=\"pixel\">"
        "<script>track()</script></body></html>\r\n";
    std::string longBody;
    while (longBody.size() < 30000) {
        longBody += html;
    }
    return {
        "Subject: short\r\nContent-Type: text/html\r\n\r\n" + html,
        "Subject: long\r\nContent-Type: text/html\r\n\r\n" + longBody,
        "Disposition-Notification-To: a@example.com\r\nContent-Type: multipart/alternative; boundary=\"B\"\r\n\r\n"
        "--B\r\nContent-Type: text/plain\r\n\r\nplain\r\n--B\r\nContent-Type: text/html\r\n\r\n" + html + "--B--\r\n",
    };
}

class ThreadsTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tagstrip-threads-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::create_directory(root / "tmp");
        setenv("TMPDIR", (root / "tmp").c_str(), 1);
        std::string error;
        ASSERT_TRUE(module.Load(TAGSTRIP_MODULE_PATH, error)) << error;
    }

    void TearDown() override
    {
        for (AnalyzerInstance* instance : instances) {
            module.UnInitAnalyzer(instance);
        }
        module.Unload();
        std::filesystem::remove_all(root);
    }

    AnalyzerInstance* NewInstance(const char* name, int flags)
    {
        const std::filesystem::path directory = root / name;
        std::filesystem::create_directory(directory);
        WritePrivateProfileStringA("Settings", "Flags", std::to_string(flags).c_str(),
                                   (directory / "Tagstrip.ini").c_str());
        instances.push_back(module.InitAnalyzer(root.c_str(), directory.c_str()));
        return instances.back();
    }

    Outcome Analyze(AnalyzerInstance* instance, const std::string& message) const
    {
        CString text(message.c_str());
        AnalysisRecord record{&text, 0, 0, 0, CString()};
        const int replaced = module.Analyze(instance, &record);
        return {replaced, static_cast<const char*>(text), record.score, static_cast<const char*>(record.findings)};
    }

    std::filesystem::path root;
    AnalyzerModule module;
    std::vector<AnalyzerInstance*> instances;
};

// The host's user-interface thread: opens the page in the settings window and saves,
// round after round, with Formatting and Links ticked and cleared in turn.
void SaveThroughPage(const AnalyzerModule& module, AnalyzerInstance* instance, const std::atomic<bool>& stop,
                     std::atomic<int>& saves)
{
    HeadlessFrontEnd frontEnd;
    SettingsWindow window;
    window.SetPage(module.GetAnalyzerConfigPage(instance, &window));
    auto* page = static_cast<AnalyzerPage*>(window.GetPage());
    for (int round = 0; !stop.load(); ++round) {
        const UINT state = round % 2 == 0 ? BST_CHECKED : BST_UNCHECKED;
        CheckDlgButton(page->m_hWnd, kFormattingRemoveBox, state);
        CheckDlgButton(page->m_hWnd, kLinksRemoveBox, state);
        page->Save();
        ++saves;
    }
}

TEST_F(ThreadsTest, AnalysesAgreeWithLoneAnalysesWhileThePageSaves)
{
    const std::vector<std::string> messages = Messages();
    AnalyzerInstance* asSaved = NewInstance("default", kDefaultFlags);
    AnalyzerInstance* asTicked = NewInstance("ticked", kPageFlags);
    std::vector<Outcome> defaultOutcomes;
    std::vector<Outcome> tickedOutcomes;
    for (const std::string& message : messages) {
        defaultOutcomes.push_back(Analyze(asSaved, message));
        tickedOutcomes.push_back(Analyze(asTicked, message));
    }
    ASSERT_NE(defaultOutcomes[0], tickedOutcomes[0]);

    AnalyzerInstance* shared = NewInstance("shared", kDefaultFlags);
    AnalyzerInstance* own = NewInstance("own", kDefaultFlags);
    std::atomic<bool> stop(false);
    std::atomic<int> mismatches(0);
    std::atomic<int> saves(0);
    std::thread page(SaveThroughPage, std::cref(module), shared, std::cref(stop), std::ref(saves));
    std::vector<std::thread> analysers;
    for (int index = 0; index < 8; ++index) {
        AnalyzerInstance* instance = index < 6 ? shared : own;
        analysers.emplace_back([&, instance] {
            // Until the page has saved at least twice too, however the threads are run.
            for (int round = 0; round < kRounds || saves.load() < 2; ++round) {
                for (std::size_t which = 0; which < messages.size(); ++which) {
                    const Outcome outcome = Analyze(instance, messages[which]);
                    const bool expected = outcome == defaultOutcomes[which]
                        || (instance == shared && outcome == tickedOutcomes[which]);
                    mismatches += expected ? 0 : 1;
                }
            }
        });
    }
    for (std::thread& analyser : analysers) {
        analyser.join();
    }
    stop = true;
    page.join();

    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_GT(saves.load(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(root / "tmp"));
}

}  // namespace
