#include <gtest/gtest.h>

#include "host/message_text.h"
#include "host/transfer_codec.h"

namespace {

constexpr TransferEncoding kQp = TransferEncoding::QuotedPrintable;
constexpr TransferEncoding kBase64 = TransferEncoding::Base64;

std::vector<std::string> Lines(const std::string& text, const std::string& lineEnd)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(lineEnd, start);
        EXPECT_NE(end, std::string::npos) << "every line ends in the line end";
        lines.push_back(text.substr(start, end - start));
        start = end + lineEnd.size();
    }
    return lines;
}

TEST(TransferCodecTest, DecodesAndNamesEachFault)
{
    struct {
        TransferEncoding encoding;
        std::string encoded;
        std::string text;
        std::vector<std::string> faults;
    } rows[] = {
        {kQp, "<a href=3D\"x\">=\r\nok</a>\r\n", "<a href=\"x\">ok</a>\r\n", {}},
        {kQp, "soft=\nbreak =3d lower", "softbreak = lower", {}},
        {kQp, "=ZZ and =4", "=ZZ and ", {"2 \"=\" signs not followed by two hex digits or a line end"}},
        {kQp, "last line=", "last line", {"quoted-printable soft line break at the very end, dropped"}},
        {kQp, "last line=\r", "last line", {"quoted-printable soft line break at the very end, dropped"}},
        {kBase64, "PGI+\r\ndGFn\r\n", "<b>tag", {}},
        {kBase64, "PGI+*dGFn!", "<b>tag", {"2 characters outside the base64 alphabet, skipped"}},
        {kBase64, "PGI+dA", "<b>t", {"base64 padding missing"}},
        {kBase64, "PGI+dGE", "<b>ta", {"base64 padding missing"}},
        {kBase64, "PGI+d", "<b>", {"base64 text truncated: its last character holds no whole byte"}},
        {kBase64, "PGI=PGI=", "<b", {"base64 text after the padding, ignored"}},
    };
    for (const auto& row : rows) {
        DecodedText decoded = DecodeTransfer(row.encoding, row.encoded);
        EXPECT_EQ(decoded.text, row.text) << row.encoded;
        EXPECT_EQ(decoded.faults, row.faults) << row.encoded;
        std::string onto = "kept\r\n";
        EXPECT_EQ(DecodeTransferOnto(row.encoding, row.encoded, onto), row.faults) << row.encoded;
        EXPECT_EQ(onto, "kept\r\n" + row.text) << row.encoded;
    }
}

TEST(TransferCodecTest, QuotedPrintableFollowsRfc2045)
{
    const std::string text = "a = b \r\ntab\t\r\n" + std::string(100, 'x') + "\r\nbare\rCR";
    const std::string encoded = EncodeTransfer(kQp, text, "\r\n");
    EXPECT_EQ(Lines(encoded, "\r\n"),
              (std::vector<std::string>{"a =3D b=20", "tab=09", std::string(75, 'x') + "=", std::string(25, 'x'),
                                        "bare=0DCR="}));
}

TEST(TransferCodecTest, Base64LinesHold76Characters)
{
    const std::string encoded = EncodeTransfer(kBase64, std::string(100, 'a'), "\n");
    std::vector<std::string> lines = Lines(encoded, "\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 76u);
    EXPECT_EQ(lines[1], EncodeTransfer(kBase64, std::string(43, 'a'), ""));
}

// Texts as the analyzer writes them: CRLF line ends, any other byte. The large one
// crosses the codec's pieces, once with a CRLF cut between two of them.
TEST(TransferCodecTest, DecodingUndoesEncoding)
{
    std::string large;
    while (large.size() < 200000) {
        large += "<p class=\"x\">line =" + std::to_string(large.size()) + " \t\r\n";
    }
    large.insert(65535, "\r\n");
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        everyByte += byte == '\n' ? std::string("\r\n") : std::string(1, static_cast<char>(byte));
    }
    const std::string texts[] = {"", "x", "ends in a line end\r\n", "trailing blank \r\n\r\n", everyByte, large};
    for (const std::string& text : texts) {
        for (TransferEncoding encoding : {kQp, kBase64}) {
            for (const char* lineEnd : {"\r\n", "\n"}) {
                DecodedText decoded = DecodeTransfer(encoding, EncodeTransfer(encoding, text, lineEnd));
                EXPECT_EQ(decoded.text, encoding == kQp && *lineEnd == '\n' ? CrlfToLf(text) : text)
                    << TransferEncodingName(encoding) << " of " << text.substr(0, 40);
                EXPECT_EQ(decoded.faults, std::vector<std::string>{});
            }
        }
    }
}

}  // namespace
