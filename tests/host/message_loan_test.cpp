#include "host/message_loan.h"

#include <gtest/gtest.h>

#include <string>

#include "host/message_text.h"

namespace {

std::string BigMessage(const std::string& lineEnd, const std::string& oddLine)
{
    std::string message = "Subject: big" + lineEnd + "Content-Type: text/html" + lineEnd + lineEnd;
    while (message.size() < MessageLoan::kSmallestLent) {
        message += "<p>a paragraph of the message</p>" + lineEnd;
    }
    return message + oddLine + "</html>" + lineEnd;
}

// The holder's message is freed only where it comes back byte for byte or is not wanted
// back, and it is always there afterwards unless rewritten or not needed.
TEST(MessageLoanTest, GivesTheMessageBackWheneverItIsNeeded)
{
    const std::string lf = BigMessage("\n", "");
    const std::string crlf = BigMessage("\r\n", "");
    const std::string lfWithCrlf = BigMessage("\n", "<p>one line of its own</p>\r\n");
    const std::string crlfWithLf = BigMessage("\r\n", "<p>one line of its own</p>\n");
    const std::string small = "Subject: small\n\n<p>x</p>\n";
    const MessageAfterwards needed = MessageAfterwards::Needed;
    const MessageAfterwards unlessRewritten = MessageAfterwards::NeededUnlessRewritten;
    const MessageAfterwards notNeeded = MessageAfterwards::NotNeeded;
    const struct {
        const std::string* message;
        MessageAfterwards afterwards;
        bool rewritten;
        bool lent;
        bool keptAfterwards;
    } rows[] = {
        {&lf, needed, false, false, true},
        {&lf, needed, true, false, true},
        {&lf, unlessRewritten, false, true, true},
        {&crlf, unlessRewritten, false, true, true},
        {&lf, unlessRewritten, true, true, false},
        {&lfWithCrlf, unlessRewritten, false, false, true},
        {&crlfWithLf, unlessRewritten, false, false, true},
        {&crlfWithLf, unlessRewritten, true, false, true},
        {&lfWithCrlf, notNeeded, false, true, false},
        {&crlf, notNeeded, true, true, false},
        {&small, unlessRewritten, false, false, true},
        {&small, notNeeded, false, false, true},
    };
    for (const auto& row : rows) {
        std::string message = *row.message;
        const bool crlfEnds = UsesCrlf(message);
        bool givesBack = false;
        CString analyzersText = AnalyzersText(message, &givesBack);
        MessageLoan loan(message, row.afterwards, crlfEnds, givesBack);
        EXPECT_EQ(loan.Lent(), row.lent) << message.size();
        EXPECT_EQ(message.empty(), row.lent);
        if (row.rewritten) {
            analyzersText = "Subject: rewritten\r\n\r\n";
        }
        loan.Settle(analyzersText, row.rewritten);
        if (row.keptAfterwards) {
            EXPECT_TRUE(message == *row.message) << "lent " << row.lent << ", rewritten " << row.rewritten;
        } else {
            EXPECT_TRUE(message.empty());
        }
    }
}

}  // namespace
