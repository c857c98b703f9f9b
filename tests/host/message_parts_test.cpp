#include "host/message_parts.h"

#include <gtest/gtest.h>

#include <sstream>

#include "mime/mime_walker.h"

namespace {

class Joiner : public PartHandler {
public:
    void Receive(std::string_view text, bool) override { joined += text; }
    std::string joined;
};

std::string WalkerOutput(const std::string& message)
{
    Joiner joiner;
    MimeWalker().Walk(message, &joiner);
    return joiner.joined;
}

// The located ranges cover the message end to end, and each, as the walker hands it
// on, is what the walker handed on for it.
TEST(MessagePartsTest, RangesCoverWhatTheWalkerHandsOn)
{
    const std::string longLine(9000, 'q');
    struct {
        std::string message;
        std::vector<bool> html;
    } rows[] = {
        {"", {}},
        {"Subject: no body", {false}},
        {"Content-Type: text/html\n\n<p>x</p>\n" + longLine + "\nlast", {true}},
        {"Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\npre\r\n--b\r\nContent-Type: TEXT/HTML\r\n\r\n<p>\r\r\n"
         "--b\r\nContent-Type: multipart/alternative; boundary=\"c\"\r\n\r\n--c\r\n\r\nplain\n--c\r\n"
         "Content-Type: text/html\r\n\r\n<b>\r\n--c--\r\n--b--\r\nepilogue\r",  // one block from --c--
         {false, true, false, false, true, false}},
    };
    for (const auto& row : rows) {
        const std::vector<MessagePart> parts = LocateParts(row.message);
        std::string joined;
        std::size_t covered = 0;
        std::vector<bool> html;
        for (const MessagePart& part : parts) {
            EXPECT_EQ(part.headerStart, covered);
            EXPECT_LE(part.bodyStart, part.bodyEnd);
            joined += AsWalkerHandsItOn(row.message.substr(part.headerStart, part.bodyStart - part.headerStart));
            joined += AsWalkerHandsItOn(row.message.substr(part.bodyStart, part.bodyEnd - part.bodyStart));
            covered = part.bodyEnd;
            html.push_back(part.isHtml);
        }
        EXPECT_EQ(covered, row.message.size());
        EXPECT_EQ(joined, WalkerOutput(row.message));
        EXPECT_EQ(html, row.html);
    }
}

}  // namespace
