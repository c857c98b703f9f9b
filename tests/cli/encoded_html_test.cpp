// The tagstrip program on HTML parts sent quoted-printable or base64: decoded for the
// analysis, encoded again in the rewritten message, never lost when the encoding is bad.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/transfer_codec.h"
#include "tests/support/host_test_support.h"

namespace {

const std::vector<std::string> kEncodedSamples = {
    "base64-script", "mixed-8bit", "nested", "qp-script", "unchanged", "web-bug-split",
};

std::string EncodedSample(const std::string& name)
{
    return ReadTextFile(SourcePath("tests/data/encoded/in/" + name + ".eml"));
}

// The message after the two headers that filter adds.
std::string MessageOf(const std::string& filtered)
{
    std::size_t start = filtered.find('\n') + 1;
    do {
        start = filtered.find('\n', start) + 1;
    } while (filtered[start] == '\t');
    return filtered.substr(start);
}

std::string BodyOf(const std::string& message)
{
    return message.substr(message.find("\r\n\r\n") + 4);
}

std::string SinglePartHtml(const std::string& encoding, const std::string& body)
{
    return "From: sender@example.com\r\nTo: dana@example.net\r\nSubject: a note\r\nMIME-Version: 1.0\r\n"
           "Content-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: " +
           encoding + "\r\n\r\n" + body;
}

// The outputs pinned here are our own analyzer's, so it runs alone.
class EncodedHtmlTest : public ::testing::Test {
protected:
    RunResult Run(std::vector<std::string> arguments, const std::string& stdinText = "") const
    {
        arguments.insert(arguments.begin() + 1, {"--config-dir", config.path, "--module", TAGSTRIP_ANALYZER_MODULE});
        return RunTagstrip(arguments, stdinText);
    }

    TempDirectory config;
};

TEST_F(EncodedHtmlTest, FilterOnTheEncodedSamplesMatchesTheGoldens)
{
    for (const std::string& name : kEncodedSamples) {
        RunResult result = Run({"filter"}, EncodedSample(name));
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        EXPECT_EQ(result.err, "") << name;
        ExpectMatchesGolden(result.out, "encoded/out/" + name + ".eml");
    }
}

TEST_F(EncodedHtmlTest, ScanCountsDecodedPartsAndWhatOnlyDecodingFound)
{
    RunResult table = Run({"scan", "tests/data/encoded/in/"});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("Decoded parts   6\nDecoding found  4\n"), std::string::npos) << table.out;
    RunResult json = Run({"scan", "--json", "tests/data/encoded/in/"});
    EXPECT_NE(json.out.find("\"decodedParts\":6,\"foundOnlyDecoded\":4,"), std::string::npos) << json.out;
    RunResult raw = Run({"scan", "--raw", "tests/data/encoded/in/"});
    EXPECT_NE(raw.out.find("Decoded parts   0\nDecoding found  0\n"), std::string::npos) << raw.out;
}

std::vector<std::string> MessageLines(const std::string& json)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < json.size(); start = json.find('\n', start) + 1) {
        std::string line = json.substr(start, json.find('\n', start) - start);
        if (line.find("\"type\":\"message\"") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Without --rewrite, scan needs the findings alone, and analyses the decoded message
// before the message as it stands, a big one freed meanwhile: the same findings, counts
// and warnings as when it keeps every text for rewriting.
TEST_F(EncodedHtmlTest, ScanFindsTheSameWhetherItRewritesOrNot)
{
    TempDirectory mail;
    for (const std::string& name : kEncodedSamples) {
        mail.Write(name + ".eml", EncodedSample(name));
    }
    std::string bigHtml;
    while (bigHtml.size() < 1500000) {
        bigHtml += "<p>an offer<script>s()</script><img src=\"http://t.example.com/o.gif?id=1\"></p>\r\n";
    }
    mail.Write("big-base64.eml", SinglePartHtml("base64", EncodeTransfer(TransferEncoding::Base64, bigHtml, "\r\n")));
    const std::string withNul = bigHtml + std::string(1, '\0');
    mail.Write("big-base64-nul.eml", SinglePartHtml("base64", EncodeTransfer(TransferEncoding::Base64, withNul, "\r\n")));
    const RunResult findingsOnly = Run({"scan", "--json", mail.path});
    const RunResult rewriting = Run({"scan", "--json", "--rewrite", mail.path});
    ASSERT_EQ(findingsOnly.status, 0) << findingsOnly.err;
    EXPECT_EQ(rewriting.status, 0) << rewriting.err;
    EXPECT_NE(findingsOnly.err.find("big-base64-nul.eml"), std::string::npos) << findingsOnly.err;
    EXPECT_EQ(findingsOnly.err, rewriting.err);
    EXPECT_EQ(MessageLines(findingsOnly.out).size(), kEncodedSamples.size() + 2);
    EXPECT_EQ(MessageLines(findingsOnly.out), MessageLines(rewriting.out));
    EXPECT_NE(findingsOnly.out.find("\"decodedParts\":7,\"foundOnlyDecoded\":5,"), std::string::npos)
        << findingsOnly.out;
}

// The analyzer's rewriting of the same HTML sent 8bit is the reference: the re-encoded
// part, decoded here, must be that text (the analyzer's closing empty line aside).
TEST_F(EncodedHtmlTest, ReencodedPartsDecodeToWhatTheAnalyzerWritesForThe8bitPart)
{
    const std::string htmls[] = {
        "<html><body>\r\n<script>steal()</script>\r\n<p>Price: 5 = five</p>   \r\n</body></html>\r\n",
        "<p>" + std::string(300, 'x') + "<img src=\"http://t.example.com/o.gif?id=1\"></p>\r\n",
        "<p>tabs\tand trailing blanks \t\r\n<img src=\"http://t.example.com/o.gif?id=2\">\r\nend</p>",
    };
    for (const std::string& html : htmls) {
        RunResult plain = Run({"filter", "--raw"}, SinglePartHtml("8bit", html));
        std::string expected = BodyOf(MessageOf(plain.out));
        ASSERT_EQ(expected.substr(expected.size() - 4), "\r\n\r\n");
        expected.resize(expected.size() - (html.back() == '\n' ? 2 : 4));
        for (TransferEncoding encoding : {TransferEncoding::QuotedPrintable, TransferEncoding::Base64}) {
            const std::string name = TransferEncodingName(encoding);
            RunResult result = Run({"filter"}, SinglePartHtml(name, EncodeTransfer(encoding, html, "\r\n")));
            ASSERT_EQ(result.status, 0) << result.err;
            std::string message = MessageOf(result.out);
            EXPECT_NE(message.find("\r\nContent-Transfer-Encoding: " + name + "\r\n\r\n"), std::string::npos);
            DecodedText decoded = DecodeTransfer(encoding, BodyOf(message));
            EXPECT_EQ(decoded.text, expected) << name;
            EXPECT_EQ(decoded.faults, std::vector<std::string>{}) << name;
        }
    }
}

TEST_F(EncodedHtmlTest, RawAnalysesTheEncodedTextAsItStands)
{
    const std::string message = EncodedSample("base64-script");
    RunResult filtered = Run({"filter", "--raw"}, message);
    EXPECT_EQ(filtered.out, "X-Tagstrip-Score: 0\r\nX-Tagstrip-Findings:\r\n" + message);
    RunResult checked = Run({"check", "--raw", "tests/data/encoded/in/base64-script.eml"});
    EXPECT_EQ(checked.out, "tests/data/encoded/in/base64-script.eml: unchanged, score 0\n");
}

// Each fault of the encoding: the message comes through whole, with a warning that
// names the part's line, and the decoded text was analysed where there is one.
TEST_F(EncodedHtmlTest, BadEncodingsKeepTheMessageAndWarn)
{
    struct {
        const char* encoding;
        std::string body;
        const char* warning;
        int score;
    } rows[] = {
        {"base64", "PGEgaHJlZj0ieCI+eDwvYT4*\r\n!", "2 characters outside the base64 alphabet, skipped", 10},
        {"base64", "PGEgaHJlZj0ieCI+eDwvYT4\r\n", "base64 padding missing", 10},
        {"base64", "PGEgaHJlZj0ieCI+eDwvYT4+P\r\n", "base64 text truncated", 10},
        {"base64", "PGEgaHJlZj0ieCI+eDwvYT4=PGI+\r\n", "base64 text after the padding, ignored", 10},
        {"quoted-printable", "<a href=3D\"x\">=ZZ</a>\r\n", "1 \"=\" not followed by two hex digits", 10},
        {"quoted-printable", "<a href=3D\"x\">x</a>=", "quoted-printable soft line break at the very end", 10},
        {"base64", "PGEgaHJlZj0ieCI+eDwvYT4AeA==\r\n", "decoded text holds a NUL byte", 0},
    };
    for (const auto& row : rows) {
        const std::string message = SinglePartHtml(row.encoding, row.body);
        RunResult result = Run({"filter"}, message);
        EXPECT_EQ(result.status, 0) << row.warning;
        EXPECT_EQ(MessageOf(result.out), message) << row.warning;
        EXPECT_EQ(result.out.compare(0, 20 + std::to_string(row.score).size(),
                                     "X-Tagstrip-Score: " + std::to_string(row.score) + "\r\n"),
                  0)
            << row.warning << "\n" << result.out;
        EXPECT_NE(result.err.find("tagstrip: standard input: warning: line 1: text/html part in " +
                                  std::string(row.encoding) + ": "),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(row.warning), std::string::npos) << result.err;
    }
}

// Taking out the script leaves a line that reads as the boundary, so the rewritten
// message has a part more than the decoded one.
TEST_F(EncodedHtmlTest, ARewritingThatCannotBeMatchedPartForPartPassesTheOriginal)
{
    const std::string html = "<p>a</p>\r\n<script>x()</script>--cut\r\n<p>b</p>\r\n";
    const std::string message =
        "From: sender@example.com\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"cut\"\r\n\r\n"
        "--cut\r\nContent-Type: text/html\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
        EncodeTransfer(TransferEncoding::Base64, html, "\r\n") + "--cut--\r\n";
    RunResult result = Run({"filter"}, message);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(MessageOf(result.out), message);
    EXPECT_EQ(result.out.compare(0, 22, "X-Tagstrip-Score: 50\r\n"), 0) << result.out;
    EXPECT_NE(result.err.find("tagstrip: standard input: warning: the rewritten message does not match its decoded "
                              "HTML parts part for part, so it is passed on unchanged"),
              std::string::npos)
        << result.err;
}

TEST_F(EncodedHtmlTest, ADecodedBoundaryLineLeavesThePartEncoded)
{
    const std::string html = "<p>a</p>\r\n--cut\r\n<script>x()</script>\r\n";
    const std::string message =
        "From: sender@example.com\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"cut\"\r\n\r\n"
        "--cut\r\nContent-Type: text/html\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
        EncodeTransfer(TransferEncoding::Base64, html, "\r\n") + "--cut--\r\n";
    RunResult result = Run({"filter"}, message);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "X-Tagstrip-Score: 0\r\nX-Tagstrip-Findings:\r\n" + message);
    EXPECT_NE(result.err.find("warning: line 5: a decoded HTML part holds a line that the MIME walker would take "
                              "for a boundary"),
              std::string::npos)
        << result.err;
}

}  // namespace
