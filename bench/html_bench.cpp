// Scanner plus tag rules over generated HTML bodies, every remove switch off, written
// into memory: the work every HTML part of every message goes through.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/filter_engine.h"
#include "html/tag_scanner.h"

namespace {

const std::size_t kBodySize = 1 << 20;

std::string Repeat(const std::string& block)
{
    std::string body;
    body.reserve(kBodySize + block.size());
    for (int index = 0; body.size() < kBodySize; ++index) {
        body += block;
        body += std::to_string(index);
        body += "\r\n";
    }
    return body;
}

std::string Newsletter()
{
    return Repeat(
        "<table width=\"600\" cellpadding=\"0\" cellspacing=\"0\" border=\"0\" align=\"center\">\r\n"
        "<tr><td class=\"header\" style=\"padding:10px\"><a href=\"http://news.example.com/r?id=42\""
        " target=\"_blank\"><img src=\"http://img.example.com/logo.png\" alt=\"Example News\""
        " width=\"200\" height=\"50\" border=\"0\"></a></td></tr>\r\n"
        "<tr><td><font face=\"Arial\" size=\"2\" color=\"#333333\">This week: <b>spring sale</b>,"
        " new arrivals and a letter from the editor.</font></td></tr>\r\n"
        "<tr><td><img src=\"cid:banner@example.com\" alt=\"Banner\"><br>\r\n"
        "<img src=\"http://track.example.com/open.gif?u=123&amp;m=456\" width=\"1\" height=\"1\">"
        "</td></tr>\r\n</table>\r\n");
}

std::string Letter()
{
    return Repeat(
        "<p>Dear Margaret,</p>\r\n<p>Thank you for your letter of the fourteenth. The garden has"
        " come along nicely since you saw it last; the roses along the south wall are in full"
        " bloom, and the old pear tree gave more fruit this year than we could possibly eat."
        " We have been giving baskets of it to the neighbours, who return the favour with"
        " jars of jam and, once, a rather alarming quantity of courgettes.</p>\r\n"
        "<p>Tom sends his regards and asks whether you would like to come for a week in"
        " August. We would both be delighted.<br>\r\nWith love,<br>\r\nAnne</p>\r\n");
}

std::string ScriptPage()
{
    return Repeat(
        "<html><head><title>Offer</title>\r\n<script type=\"text/javascript\">\r\n"
        "var tracker = { id: 'A-1234', hits: [] };\r\n"
        "function record(event) { tracker.hits.push(event.type + ':' + Date.now()); }\r\n"
        "if (window.addEventListener) { window.addEventListener('load', record, false); }\r\n"
        "</script>\r\n<style type=\"text/css\">@import url(http://cdn.example.com/x.css);\r\n"
        "body { font-family: Verdana; } .offer { color: #c00; }</style>\r\n"
        "<meta http-equiv=\"refresh\" content=\"30;url=http://example.com/\"></head>\r\n"
        "<body onload=\"record(event)\"><div class=\"offer\">Act now!</div>"
        "<iframe src=\"http://ads.example.com/frame\"></iframe></body></html>\r\n");
}

// The output has room for the whole body from the start, as the analysis gives it.
void FilterAllSwitchesOff(benchmark::State& state, const std::string& body)
{
    for (auto _ : state) {
        OutputBuffer output;
        output.Reserve(body.size());
        FilterEngine engine;
        engine.output = &output;
        TagScanner().Run(body, &engine);
        benchmark::DoNotOptimize(output.Text().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void BM_Newsletter(benchmark::State& state)
{
    static const std::string body = Newsletter();
    FilterAllSwitchesOff(state, body);
}

void BM_Letter(benchmark::State& state)
{
    static const std::string body = Letter();
    FilterAllSwitchesOff(state, body);
}

void BM_ScriptPage(benchmark::State& state)
{
    static const std::string body = ScriptPage();
    FilterAllSwitchesOff(state, body);
}

}  // namespace

BENCHMARK(BM_Newsletter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Letter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptPage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
