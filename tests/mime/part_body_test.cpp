#include "mime/part_body.h"

#include <gtest/gtest.h>

#include <string>

#include "mime/mime_walker.h"

namespace {

// Collects bodies as the analyzers' part handlers do.
class BodyCollector : public PartHandler {
public:
    void Receive(std::string_view text, bool isHeaderBlock) override
    {
        if (!isHeaderBlock) {
            body.Append(text);
        }
    }
    void ReceiveBodyLines(std::string_view rawLines) override { body.AppendLines(rawLines); }
    PartBody body;
};

// A body whose lines all end in CRLF stays where it lies in the message; any line the
// walker ends anew makes it a copy. Either way the text is what the walker hands on.
TEST(PartBodyTest, HoldsABodyInPlaceWhenTheWalkerChangesNothing)
{
    const struct {
        std::string message;
        std::string body;
        bool inPlace;
    } rows[] = {
        {"Subject: a\r\n\r\n<p>one</p>\r\n<p>two</p>\r\n", "<p>one</p>\r\n<p>two</p>\r\n", true},
        {"Subject: a\r\n\r\nno line end at the end", "no line end at the end\r\n", false},
        {"Subject: a\n\nfirst\nsecond\n", "first\r\nsecond\r\n", false},
        {"Subject: a\r\n\r\nfirst\r\nsecond\n", "first\r\nsecond\r\n", false},
        {"Subject: a\r\n\r\n\n", "\r\n", false},
        {"Subject: a\r\n\r\n", "", true},
    };
    for (const auto& row : rows) {
        BodyCollector collector;
        MimeWalker().Walk(row.message, &collector);
        const std::string_view text = collector.body.Text();
        EXPECT_EQ(text, row.body) << row.message;
        const bool inMessage = text.data() >= row.message.data() &&
                               text.data() + text.size() <= row.message.data() + row.message.size();
        EXPECT_EQ(text.empty() || inMessage, row.inPlace) << row.message;
    }
}

// Pieces after the first are joined in a copy; Clear starts the next part empty.
TEST(PartBodyTest, JoinsPiecesInACopyAndClearsForTheNextPart)
{
    const std::string message = "one\r\ntwo\r\n";
    std::string line = "three\r\n";
    PartBody body;
    body.AppendLines(std::string_view(message).substr(0, 5));
    body.Append(line);
    line = "other\r\n";
    body.AppendLines(std::string_view(message).substr(5));
    EXPECT_EQ(body.Text(), "one\r\nthree\r\ntwo\r\n");
    body.Clear();
    EXPECT_TRUE(body.Empty());
    body.AppendLines(std::string_view(message).substr(5));
    EXPECT_EQ(body.Text().data(), message.data() + 5);
}

}  // namespace
