// Writes encoded HTML mail for measuring the host's decoding:
//   encoded_mail mbox COUNT   an mbox of COUNT newsletters and notes whose HTML parts
//                             are quoted-printable and base64 in turn
//   encoded_mail large MB     one message with a base64 HTML part of about MB megabytes
// For example: build/bench/encoded_mail mbox 5000 > /tmp/encoded.mbox, then
// tagstrip scan /tmp/encoded.mbox and tagstrip scan --raw /tmp/encoded.mbox.
#include <cstdlib>
#include <iostream>
#include <string>

#include "host/transfer_codec.h"

namespace {

const char kBlock[] =
    "<table><tr><td><font face=\"Arial\">Great offer on <b>everything</b> this week, "
    "<a href=\"http://example.com/offer?id=42\">click here</a>.</font>"
    "<img src=\"http://example.com/banner.jpg\" alt=\"Banner\">"
    "<img src=\"http://example.com/open.gif?u=1234\" width=\"1\" height=\"1\"></td></tr></table>\r\n";

std::string Html(std::size_t size)
{
    std::string html = "<html><body><script>track('open')</script>\r\n";
    while (html.size() < size) {
        html += kBlock;
    }
    return html + "</body></html>\r\n";
}

std::string Message(int number, TransferEncoding encoding, const std::string& html)
{
    return "From: news@example.com\r\nTo: reader@example.net\r\nSubject: Offers " + std::to_string(number) +
           "\r\nMessage-ID: <encoded-" + std::to_string(number) +
           "@example.com>\r\nMIME-Version: 1.0\r\nContent-Type: multipart/alternative; boundary=\"NEWS\"\r\n\r\n"
           "--NEWS\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
           "This week's offers, in plain text.\r\n\r\n"
           "--NEWS\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: " +
           TransferEncodingName(encoding) + "\r\n\r\n" + EncodeTransfer(encoding, html, "\r\n") + "\r\n--NEWS--\r\n";
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc == 3 ? argv[1] : "";
    const long amount = argc == 3 ? std::atol(argv[2]) : 0;
    if ((what != "mbox" && what != "large") || amount <= 0) {
        std::cerr << "usage: encoded_mail mbox COUNT | encoded_mail large MEGABYTES\n";
        return 2;
    }
    if (what == "large") {
        std::cout << Message(1, TransferEncoding::Base64, Html(static_cast<std::size_t>(amount) * 750000));
        return 0;
    }
    const std::string sizes[] = {Html(4000), Html(40000)};
    for (int number = 0; number < amount; ++number) {
        const TransferEncoding encoding = number % 2 ? TransferEncoding::Base64 : TransferEncoding::QuotedPrintable;
        std::string message = Message(number, encoding, sizes[number % 3 == 0]);
        std::cout << "From news@example.com Mon Nov 10 08:00:00 2025\n";
        for (std::size_t start = 0; start < message.size();) {
            std::size_t end = message.find("\r\n", start);
            std::cout << message.substr(start, end - start) << '\n';
            start = end + 2;
        }
        std::cout << '\n';
    }
    return 0;
}
