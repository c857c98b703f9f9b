// The host's decoding of quoted-printable and base64 HTML parts. The first byte picks the
// encoding, the rest is the text. Each codec must undo its own encoding, and a message
// whose HTML part an analyzer leaves as it is must come back byte for byte: both when
// the part is that text well encoded and when it is the raw input labelled as encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/transfer_decoding.h"
#include "tests/support/pass_through_rewrite.h"

namespace {

// Text as the analyzer writes it: every line feed after a carriage return.
std::string WithCrlf(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            result += '\r';
        }
        result += text[i];
    }
    return result;
}

std::string HtmlMessage(TransferEncoding encoding, const std::string& body)
{
    return std::string("From: a@example.com\r\nContent-Type: text/html\r\nContent-Transfer-Encoding: ") +
           TransferEncodingName(encoding) + "\r\n\r\n" + body;
}

void ExpectUnchangedRoundTrip(const std::string& message)
{
    TransferDecoding decoding(message);
    if (decoding.DecodedPartCount() == 0) {
        return;
    }
    std::string result;
    if (!decoding.Reencode(PassThroughRewrite(decoding.Text()), result) || result != message) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const TransferEncoding encoding = data[0] % 2 == 0 ? TransferEncoding::QuotedPrintable : TransferEncoding::Base64;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string text = WithCrlf(input);
    const std::string encoded = EncodeTransfer(encoding, text, "\r\n");
    if (DecodeTransfer(encoding, encoded).text != text) {
        std::abort();
    }
    ExpectUnchangedRoundTrip(HtmlMessage(encoding, encoded));
    ExpectUnchangedRoundTrip(HtmlMessage(encoding, input));
    return 0;
}
