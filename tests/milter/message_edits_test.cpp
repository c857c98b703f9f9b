#include <gtest/gtest.h>

#include "milter/incoming_message.h"
#include "milter/message_edits.h"

namespace {

// The edits in one line: "delete NAME#I", "change NAME#I=VALUE", "insert NAME=VALUE" in
// the order they are to be applied, then "body=..." when the body is replaced.
std::string Describe(const MessageEdits& edits)
{
    if (!edits.expressible) {
        return "not expressible";
    }
    std::string text;
    for (const HeaderChange& change : edits.changes) {
        text += (change.deleted ? "delete " : "change ") + change.name + "#" + std::to_string(change.index) +
                (change.deleted ? "" : "=" + change.value) + "; ";
    }
    for (const HeaderField& field : edits.insertAtTop) {
        text += "insert " + field.name + "=" + field.value + "; ";
    }
    if (edits.replaceBody) {
        text += "body=" + edits.body;
    }
    return text;
}

struct EditCase {
    const char* what;
    const char* original;
    const char* filtered;
    const char* edits;
};

TEST(MessageEdits, FilteredMessageBecomesTheEditsAnMtaApplies)
{
    const EditCase cases[] = {
        {"our fields on top, last inserted first", "From: a\r\n\r\nbody\r\n",
         "X-Tagstrip-Score: 0\r\nX-Tagstrip-Findings:\r\nFrom: a\r\n\r\nbody\r\n",
         "insert X-Tagstrip-Findings=; insert X-Tagstrip-Score= 0; "},
        {"folded findings keep LF folds", "From: a\r\n\r\nb\r\n",
         "X-Tagstrip-Findings:\r\n\tone\r\n\ttwo\r\nFrom: a\r\n\r\nb\r\n", "insert X-Tagstrip-Findings=\n\tone\n\ttwo; "},
        {"a message without header fields", "\r\nbody\r\n", "X-Tagstrip-Score: 0\r\n\r\nbody\r\n",
         "insert X-Tagstrip-Score= 0; "},
        {"a forged field at the top takes our value", "X-Tagstrip-Score: 9\r\nFrom: a\r\n\r\nb\r\n",
         "X-Tagstrip-Score: 0\r\nFrom: a\r\n\r\nb\r\n", "change X-Tagstrip-Score#1= 0; "},
        {"forged fields further down, deleted last first",
         "From: a\r\nX-Tagstrip-Score: 1\r\nTo: b\r\nx-tagstrip-score: 2\r\n\r\nb\r\n",
         "X-Tagstrip-Score: 0\r\nFrom: a\r\nTo: b\r\n\r\nb\r\n",
         "delete x-tagstrip-score#2; delete X-Tagstrip-Score#1; insert X-Tagstrip-Score= 0; "},
        {"read receipt removed, body rewritten", "From: a\r\nDisposition-Notification-To: a\r\nTo: b\r\n\r\n<p>x\r\n",
         "X-Tagstrip-Score: 10\r\nFrom: a\r\nTo: b\r\n\r\n<p>\r\n\r\n",
         "delete Disposition-Notification-To#1; insert X-Tagstrip-Score= 10; body=<p>\r\n\r\n"},
        {"a folded read receipt leaves its continuation to the field before",
         "Subject: s\r\nDisposition-Notification-To:\r\n <a@b>\r\nTo: b\r\n\r\nx\r\n",
         "X-Tagstrip-Score: 10\r\nSubject: s\r\n <a@b>\r\nTo: b\r\n\r\nx\r\n",
         "change Subject#1= s\n <a@b>; delete Disposition-Notification-To#1; insert X-Tagstrip-Score= 10; "},
        {"an unchanged message needs nothing", "From: a\r\n\r\nb\r\n", "From: a\r\n\r\nb\r\n", ""},
        {"a field added below the top cannot be expressed", "From: a\r\nTo: b\r\n\r\nx\r\n",
         "From: a\r\nX-New: 1\r\nTo: b\r\n\r\nx\r\n", "not expressible"},
        {"a continuation line before any field cannot be expressed", "Disposition-Notification-To:\r\n <a>\r\n\r\nx\r\n",
         " <a>\r\n\r\nx\r\n", "not expressible"},
    };
    for (const EditCase& test : cases) {
        EXPECT_EQ(Describe(EditsBetween(test.original, test.filtered)), test.edits) << test.what;
    }
}

TEST(IncomingMessage, RebuildsTheMessageInCrlfAndStopsPastTheLimit)
{
    IncomingMessage message(64);
    message.AddHeader("Subject", " folded\n\tline", true);
    message.AddHeader("To", "b", false);
    message.AddBody("body\r\n", 6);
    EXPECT_EQ(message.Text(), "Subject: folded\r\n\tline\r\nTo: b\r\n\r\nbody\r\n");
    EXPECT_FALSE(message.OverLimit());

    message.AddBody(std::string(40, 'x').c_str(), 40);
    EXPECT_TRUE(message.OverLimit());
    EXPECT_EQ(message.Size(), 79u);
    EXPECT_TRUE(message.Text().empty());
}

}  // namespace
