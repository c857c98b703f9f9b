#include "host/transfer_decoding.h"

#include <gtest/gtest.h>

#include "host/message_text.h"
#include "tests/support/pass_through_rewrite.h"

namespace {

std::string Part(const std::string& type, const std::string& encodingField, const std::string& body)
{
    return "--b\r\nContent-Type: " + type + "\r\n" + encodingField + "\r\n\r\n" + body;
}

std::string Multipart(const std::string& parts)
{
    return "From: a@example.com\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n" + parts + "--b--\r\n";
}

// Which parts are decoded: HTML parts in either encoding, in any letter case, with the
// field folded or not; nothing else.
TEST(TransferDecodingTest, DecodesExactlyTheEncodedHtmlParts)
{
    const std::string message = Multipart(
        Part("text/html", "Content-Transfer-Encoding: BASE64", "PGI+\r\n") +
        Part("text/plain", "Content-Transfer-Encoding: base64", "PGI+\r\n") +
        Part("text/html", "content-transfer-encoding:\r\n Quoted-Printable", "a=3Db\r\n") +
        Part("text/html", "Content-Transfer-Encoding: 7bit", "a=3Db\r\n") +
        Part("text/html", "X-Content-Transfer-Encoding: base64", "PGI+\r\n") +
        Part("application/octet-stream; x=\"text/html\"", "Content-Transfer-Encoding: base64", "PGI+\r\n"));
    TransferDecoding decoding(message);
    EXPECT_EQ(decoding.DecodedPartCount(), 3);
    EXPECT_EQ(decoding.Text(),
              Multipart(Part("text/html", "Content-Transfer-Encoding: 8bit", "<b>\r\n") +
                        Part("text/plain", "Content-Transfer-Encoding: base64", "PGI+\r\n") +
                        Part("text/html", "Content-Transfer-Encoding: 8bit", "a=b\r\n") +
                        Part("text/html", "Content-Transfer-Encoding: 7bit", "a=3Db\r\n") +
                        Part("text/html", "X-Content-Transfer-Encoding: base64", "PGI+\r\n") +
                        Part("application/octet-stream; x=\"text/html\"", "Content-Transfer-Encoding: 8bit",
                             "<b>\r\n")));
    EXPECT_EQ(decoding.Warnings(), std::vector<std::string>{});
}

// An analyzer that keeps everything gives the message back byte for byte, whatever
// its line ends (the session turns the analyzer's CRLF back into LF where the message
// has LF) or those of the decoded text, and without the decoded message, which the
// session frees during the analysis.
TEST(TransferDecodingTest, AnUnchangedRewritingGivesTheOriginalBack)
{
    const std::string messages[] = {
        Multipart(Part("text/html", "Content-Transfer-Encoding: base64", "PGI+dGFn\r\n\r\n") +
                  Part("text/html", "Content-Transfer-Encoding: quoted-printable", "<p>a=3D=\r\nb</p>  \r\n")),
        "Content-Type: text/html\nContent-Transfer-Encoding: base64\n\nPGI+dGFn",
        Multipart(Part("text/html", "Content-Transfer-Encoding: quoted-printable", "=0A<p>a=0A=0Ab</p>=0D=0A =09\r\n")),
        Multipart(Part("text/html", "Content-Transfer-Encoding: base64", "ICAKCg==\r\n")),
    };
    for (const std::string& message : messages) {
        TransferDecoding decoding(message);
        ASSERT_GT(decoding.DecodedPartCount(), 0);
        std::string result;
        const std::string rewritten = PassThroughRewrite(decoding.TakeDecodedText());
        ASSERT_TRUE(decoding.Reencode(UsesCrlf(message) ? rewritten : CrlfToLf(rewritten), result));
        EXPECT_EQ(result, message);
    }
}

TEST(TransferDecodingTest, AChangedPartIsEncodedAgainInItsOwnEncoding)
{
    const std::string message =
        Multipart(Part("text/html", "Content-Transfer-Encoding: base64", "PGI+dGFn\r\n") +
                  Part("text/html", "Content-Transfer-Encoding: quoted-printable", "<p>a=3D=\r\nb</p>\r\n"));
    TransferDecoding decoding(message);
    std::string rewritten = PassThroughRewrite(decoding.TakeDecodedText());
    rewritten.replace(rewritten.find("<b>tag"), 6, "<i>tag");
    rewritten.replace(rewritten.find("<p>a=b</p>"), 10, "<p>a=c</p>");
    std::string result;
    ASSERT_TRUE(decoding.Reencode(rewritten, result));
    EXPECT_EQ(result, Multipart(Part("text/html", "Content-Transfer-Encoding: base64", "PGk+dGFn\r\n") +
                                Part("text/html", "Content-Transfer-Encoding: quoted-printable",
                                     "<p>a=3Dc</p>\r\n")));
}

TEST(TransferDecodingTest, ARewritingOfAnotherShapeIsRefused)
{
    const std::string message = Multipart(Part("text/html", "Content-Transfer-Encoding: base64", "PGI+\r\n"));
    TransferDecoding decoding(message);
    const std::string rewritten = PassThroughRewrite(decoding.Text());
    const std::string refused[] = {
        rewritten.substr(0, rewritten.find("--b--")),
        rewritten.substr(0, rewritten.find("<b>")) + "--b\r\n\r\n" + rewritten.substr(rewritten.find("<b>")),
        std::string(rewritten).replace(rewritten.find("8bit"), 4, "7bit"),
        std::string(rewritten).replace(rewritten.find("\r\n\r\n--b--"), 4, ""),
    };
    for (const std::string& text : refused) {
        std::string result = "untouched";
        EXPECT_FALSE(decoding.Reencode(text, result)) << text;
        EXPECT_EQ(result, "untouched");
    }
}

}  // namespace
