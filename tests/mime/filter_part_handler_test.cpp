#include "mime/filter_part_handler.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/filter_engine.h"
#include "tests/support/filter_run.h"

namespace {

TEST(FilterPartHandler, ReadReceiptLineFoundAndRemoved)
{
    const struct {
        std::string block;
        bool removeSwitch;
        std::string written;
        bool found;
    } rows[] = {
        {"Disposition-Notification-To: <a@example.org>\r\nFrom: c\r\n\r\n", true, "From: c\r\n\r\n", true},
        {"From: c\r\nDisposition-Notification-To: a\r\nTo: d\r\n\r\n", false,
         "From: c\r\nDisposition-Notification-To: a\r\nTo: d\r\n\r\n", true},
        {"From: c\r\nDisposition-Notification-To: a\r\nTo: d\r\n\r\n", true, "From: c\r\nTo: d\r\n\r\n", true},
        {"From: c\r\ndisposition-notification-to: a\r\n\r\n", true, "From: c\r\n\r\n", true},
        {"Disposition-Notification-To:\r\n\t<a@example.org>\r\n\r\n", true, "\t<a@example.org>\r\n\r\n", true},
        {"Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n", true,
         "Disposition-Notification-To: b\r\n\r\n", true},
        {"From: c\nDisposition-Notification-To: a", true, "From: c\n", true},
        {"X-Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n", true,
         "X-Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n", false},
        {"Subject: Disposition-Notification-To: a\r\n\r\n", true, "Subject: Disposition-Notification-To: a\r\n\r\n",
         false},
    };
    for (const auto& row : rows) {
        FilterEngine engine;
        engine.remove[CategoryReadReceipts] = row.removeSwitch;
        OutputBuffer output;
        engine.output = &output;
        engine.WriteHeaderBlock(row.block);
        EXPECT_EQ(output.Text(), row.written) << row.block;
        EXPECT_EQ(engine.found[CategoryReadReceipts], row.found) << row.block;
    }
}

// The line end after an HTML body's last word is still held by the scanner when the body
// ends; the "\r\n\r\n" written behind every HTML body takes its place.
TEST(FilterPartHandler, OnlyHtmlBodiesEndInABlankLine)
{
    const struct {
        const char* contentType;
        bool isHtml;
    } rows[] = {
        {"Content-Type: text/html", true},
        {"content-type: Text/HTML; charset=utf-8", true},
        {"Content-Type: multipart/x; type=\"text/html\"", true},
        {"Content-Type: text/plain", false},
        {"Subject: text/html", false},
    };
    for (const auto& row : rows) {
        const std::string head = std::string(row.contentType) + "\r\n\r\n";
        EXPECT_EQ(FilterMessage(head + "word\r\n", 0), head + (row.isHtml ? "word\r\n\r\n" : "word\r\n"))
            << row.contentType;
    }
}

TEST(FilterPartHandler, HtmlPartWithoutBodyIsNotScanned)
{
    const std::string message = "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n"
                                "--B\r\nContent-Type: text/html\r\n\r\n--B--\r\n";
    EXPECT_EQ(FilterMessage(message, 0), message);
}

}  // namespace
