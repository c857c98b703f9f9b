#include "host/message_text.h"

#include <gtest/gtest.h>

#include <string>

#include "mime/mime_walker.h"

namespace {

class Joiner : public PartHandler {
public:
    void Receive(std::string_view text, bool isHeaderBlock) override
    {
        joined += isHeaderBlock ? "[header]" : "";
        joined += text;
    }
    std::string joined;
};

std::string WalkerOutput(std::string_view message)
{
    Joiner joiner;
    MimeWalker().Walk(message, &joiner);
    return joiner.joined;
}

// The analyzers get every line end as CRLF, and their walker hands on exactly what it
// hands on for the message as it came; their CRLF text goes back in the message's own
// line ends. AnalyzersText tells exactly when that is the message itself.
TEST(MessageTextTest, AnalyzersTextWalksAsTheMessageDoes)
{
    const struct {
        std::string message;
        std::string analyzers;
        std::string backInOwnLineEnds;
    } rows[] = {
        {"", "", ""},
        {"\n", "\r\n", "\n"},
        {"\n\n\n\r\n\n", "\r\n\r\n\r\n\r\n\r\n", "\n\n\n\n\n"},
        {"Subject: a line long enough\n\nbody of the message\n",
         "Subject: a line long enough\r\n\r\nbody of the message\r\n",
         "Subject: a line long enough\n\nbody of the message\n"},
        {"Subject: crlf throughout\r\n\r\nbody\r\n", "Subject: crlf throughout\r\n\r\nbody\r\n",
         "Subject: crlf throughout\r\n\r\nbody\r\n"},
        {"Subject: a\n\nbody\nlast", "Subject: a\r\n\r\nbody\r\nlast", "Subject: a\n\nbody\nlast"},
        {"Subject: a\r\n\r\nbody\nmixed\r\n", "Subject: a\r\n\r\nbody\r\nmixed\r\n", "Subject: a\r\n\r\nbody\r\nmixed\r\n"},
        {"Subject: a\n\nlone\rcarriage\r\r\nreturns\r", "Subject: a\r\n\r\nlone\rcarriage\r\r\nreturns\r",
         "Subject: a\n\nlone\rcarriage\r\nreturns\r"},
        {"Content-Type: multipart/alternative; boundary=\"b\"\n\n--b\nContent-Type: text/html\n\n<p>x</p>\n--b--\n",
         "Content-Type: multipart/alternative; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/html\r\n\r\n"
         "<p>x</p>\r\n--b--\r\n",
         "Content-Type: multipart/alternative; boundary=\"b\"\n\n--b\nContent-Type: text/html\n\n<p>x</p>\n--b--\n"},
    };
    for (const auto& row : rows) {
        bool givesBack = false;
        const CString text = AnalyzersText(row.message, &givesBack);
        const std::string_view analyzers(text, static_cast<std::size_t>(text.GetLength()));
        EXPECT_EQ(analyzers, row.analyzers) << row.message;
        EXPECT_EQ(WalkerOutput(analyzers), WalkerOutput(row.message)) << row.message;
        EXPECT_EQ(InLineEndsOf(UsesCrlf(row.message), text), row.backInOwnLineEnds) << row.message;
        EXPECT_EQ(givesBack, row.backInOwnLineEnds == row.message) << row.message;
    }
}

}  // namespace
