// Analyze through the loaded module, as the host calls it, on HTML newsletters of
// 5 KB, 50 KB and 1 MB, with the default settings and with every removal switched on.
// Bytes per second count the message text handed in.
#include <dlfcn.h>
#include <stdlib.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/category.h"
#include "platform/kernel/windows.h"
#include "tagstrip/host_api.h"

namespace {

constexpr int kEveryRemoval = 0xFF;

// A newsletter: a short plain part, then one HTML part with the usual mix of layout,
// links, images, a web bug and a script, repeated to the size wanted.
std::string Newsletter(std::size_t size)
{
    std::string message =
        "From: news@example.com\r\nDisposition-Notification-To: news@example.com\r\n"
        "Content-Type: multipart/alternative; boundary=\"NEWS\"\r\n\r\n"
        "--NEWS\r\nContent-Type: text/plain\r\n\r\nThis week's offers, in plain text.\r\n\r\n"
        "--NEWS\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
        "<html><head><style>@import url(http://example.com/a.css); p { color: red }</style></head>"
        "<body bgcolor=\"#ffffff\"><script>track('open')</script>\r\n";
    const std::string block =
        "<table><tr><td><font face=\"Arial\">Great offer on <b>everything</b> this week,"
        " <a href=\"http://example.com/offer?id=42\" target=\"_blank\">click here</a>.</font>"
        "<img src=\"http://example.com/banner.jpg\" alt=\"Banner\"><img src=\"cid:logo@example\">"
        "<img src=\"http://example.com/open.gif?u=1234\" width=\"1\" height=\"1\"></td></tr></table>\r\n";
    while (message.size() < size) {
        message += block;
    }
    return message + "</body></html>\r\n--NEWS--\r\n";
}

class LoadedModule {
public:
    LoadedModule()
    {
        char pattern[] = "/tmp/tagstrip-bench-XXXXXX";
        root = mkdtemp(pattern);
        setenv("TMPDIR", root.c_str(), 1);
        module = dlopen(TAGSTRIP_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            std::abort();
        }
        initAnalyzer = reinterpret_cast<InitAnalyzerFn>(dlsym(module, "InitAnalyzer"));
        analyze = reinterpret_cast<AnalyzeFn>(dlsym(module, "Analyze"));
    }

    ~LoadedModule() { std::filesystem::remove_all(root); }

    AnalyzerInstance* Instance(int flags)
    {
        const std::filesystem::path iniDirectory = root / std::to_string(flags);
        std::filesystem::create_directories(iniDirectory);
        WritePrivateProfileStringA("Settings", "Flags", std::to_string(flags).c_str(),
                                   (iniDirectory / "Tagstrip.ini").c_str());
        return initAnalyzer(root.c_str(), iniDirectory.c_str());
    }

    AnalyzeFn analyze = nullptr;

private:
    std::filesystem::path root;
    void* module = nullptr;
    InitAnalyzerFn initAnalyzer = nullptr;
};

LoadedModule& Module()
{
    static LoadedModule module;
    return module;
}

void BM_Analyze(benchmark::State& state)
{
    const std::string message = Newsletter(static_cast<std::size_t>(state.range(0)));
    AnalyzerInstance* instance = Module().Instance(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        CString text(message.data(), static_cast<int>(message.size()));
        AnalysisRecord record{&text, 0, 0, 0, CString()};
        benchmark::DoNotOptimize(Module().analyze(instance, &record));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(message.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_Analyze)
    ->ArgNames({"bytes", "flags"})
    ->ArgsProduct({{5 << 10, 50 << 10, 1 << 20}, {kDefaultFlags, kEveryRemoval}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
