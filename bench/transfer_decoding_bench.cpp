// The host session on a newsletter whose HTML part is quoted-printable or base64, with
// decoding on and off (off: the plug-in alone, which sees no tags in base64), and the
// codecs alone. Bytes per second count the message text handed in.
#include <stdlib.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "host/host_session.h"
#include "host/transfer_codec.h"

namespace {

std::string Newsletter(TransferEncoding encoding, std::size_t size)
{
    const std::string block =
        "<table><tr><td><font face=\"Arial\">Great offer on <b>everything</b> this week, "
        "<a href=\"http://example.com/offer?id=42\">click here</a>.</font>"
        "<img src=\"http://example.com/open.gif?u=1234\" width=\"1\" height=\"1\"></td></tr></table>\r\n";
    std::string html = "<html><body><script>track('open')</script>\r\n";
    while (html.size() < size) {
        html += block;
    }
    return "From: news@example.com\r\nContent-Type: multipart/alternative; boundary=\"NEWS\"\r\n\r\n"
           "--NEWS\r\nContent-Type: text/plain\r\n\r\nThis week's offers, in plain text.\r\n\r\n"
           "--NEWS\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: " +
           std::string(TransferEncodingName(encoding)) + "\r\n\r\n" + EncodeTransfer(encoding, html + "</body></html>\r\n", "\r\n") +
           "--NEWS--\r\n";
}

class Session {
public:
    Session()
    {
        char pattern[] = "/tmp/tagstrip-bench-XXXXXX";
        root = mkdtemp(pattern);
        setenv("TMPDIR", root.c_str(), 1);
        std::string error;
        session = HostSession::Open(TAGSTRIP_MODULE_PATH, root, error);
        if (session == nullptr) {
            std::abort();
        }
    }
    ~Session()
    {
        session.reset();
        std::filesystem::remove_all(root);
    }
    HostSession& Get() { return *session; }

private:
    std::string root;
    std::unique_ptr<HostSession> session;
};

Session& TheSession()
{
    static Session session;
    return session;
}

void BM_Analyze(benchmark::State& state)
{
    const auto encoding = static_cast<TransferEncoding>(state.range(0));
    const bool decoding = state.range(1) != 0;
    const std::string message = Newsletter(encoding, static_cast<std::size_t>(state.range(2)));
    HostSession& session = TheSession().Get();
    session.SetTransferDecoding(decoding);
    for (auto _ : state) {
        MessageAnalysis analysis = session.Analyze(message);
        benchmark::DoNotOptimize(analysis.score);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * message.size()));
    state.SetLabel(std::string(TransferEncodingName(encoding)) + (decoding ? ", decoded" : ", raw"));
}
BENCHMARK(BM_Analyze)->ArgsProduct({{0, 1}, {1, 0}, {50000, 1000000}})->Unit(benchmark::kMicrosecond);

void BM_Codec(benchmark::State& state)
{
    const auto encoding = static_cast<TransferEncoding>(state.range(0));
    const std::string text(1000000, 'x');
    const std::string encoded = EncodeTransfer(encoding, text, "\r\n");
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeTransfer(encoding, encoded).text.size());
        benchmark::DoNotOptimize(EncodeTransfer(encoding, text, "\r\n").size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(std::string(TransferEncodingName(encoding)) + ", decode and encode");
}
BENCHMARK(BM_Codec)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
