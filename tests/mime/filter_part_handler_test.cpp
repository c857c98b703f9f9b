#include "mime/filter_part_handler.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analysis/filter_engine.h"
#include "mime/mime_walker.h"
#include "tests/support/filter_run.h"

namespace {

struct ReadReceiptCase {
    const char* name;
    std::string block;
    bool removeSwitch;
    std::string written;
    bool found;
};

class ReadReceiptTable : public ::testing::TestWithParam<ReadReceiptCase> {};

TEST_P(ReadReceiptTable, FoundAndRemoved)
{
    FilterEngine engine;
    engine.remove[CategoryReadReceipts] = GetParam().removeSwitch;
    std::ostringstream output;
    engine.output = &output;
    engine.WriteHeaderBlock(GetParam().block);
    EXPECT_EQ(output.str(), GetParam().written);
    EXPECT_EQ(engine.found[CategoryReadReceipts], GetParam().found);
}

const std::string kReceiptFirst = "Disposition-Notification-To: <a@example.org>\r\nFrom: c@example.org\r\n\r\n";
const std::string kReceiptBetween = "From: c\r\nDisposition-Notification-To: a\r\nTo: d\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Blocks, ReadReceiptTable,
    ::testing::Values(
        ReadReceiptCase{"AtStartKept", kReceiptFirst, false, kReceiptFirst, true},
        ReadReceiptCase{"AtStartRemoved", kReceiptFirst, true, "From: c@example.org\r\n\r\n", true},
        ReadReceiptCase{"BetweenLinesKept", kReceiptBetween, false, kReceiptBetween, true},
        ReadReceiptCase{"BetweenLinesRemoved", kReceiptBetween, true, "From: c\r\nTo: d\r\n\r\n", true},
        ReadReceiptCase{"LowerCase", "From: c\r\ndisposition-notification-to: a\r\n\r\n", true,
                        "From: c\r\n\r\n", true},
        ReadReceiptCase{"FoldedContinuationStays", "Disposition-Notification-To:\r\n\t<a@example.org>\r\n\r\n",
                        true, "\t<a@example.org>\r\n\r\n", true},
        ReadReceiptCase{"SecondLineStays", "Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n",
                        true, "Disposition-Notification-To: b\r\n\r\n", true},
        ReadReceiptCase{"NoLineFeedAfter", "From: c\nDisposition-Notification-To: a", true, "From: c\n", true},
        ReadReceiptCase{"PartHeader", "--B\r\nDisposition-Notification-To: a\r\n\r\n", true, "--B\r\n\r\n", true},
        ReadReceiptCase{"InsideAnotherName",
                        "X-Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n", true,
                        "X-Disposition-Notification-To: a\r\nDisposition-Notification-To: b\r\n\r\n", false},
        ReadReceiptCase{"MidLine", "Subject: Disposition-Notification-To: a\r\n\r\n", true,
                        "Subject: Disposition-Notification-To: a\r\n\r\n", false},
        ReadReceiptCase{"Absent", "From: c\r\n\r\n", true, "From: c\r\n\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Plain words go through the tag rules as they are. The line end after an HTML body's
// last word is still held by the scanner when the body ends; the "\r\n\r\n" written
// behind every HTML body takes its place.
TEST(FilterPartHandler, PlainPartByteForByteHtmlPartScannedBeforeNextBlock)
{
    const std::string head =
        "Content-Type: multipart/alternative; boundary=\"B\"\r\n\r\n"
        "preamble  with\tblanks \r\n"
        "--B\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\n"
        "<b>not html</b> &amp;\r\n\r\n";
    const std::string htmlHead = "--B\r\nContent-Type: TEXT/HTML\r\n\r\n";
    const std::string tail = "--B--\r\n";
    EXPECT_EQ(FilterMessage(head + htmlHead + "hello\r\n" + tail, 0),
              head + htmlHead + "hello\r\n\r\n" + tail);
}

struct HtmlTestCase {
    const char* contentType;
    bool isHtml;
};

class HtmlPartTable : public ::testing::TestWithParam<HtmlTestCase> {};

TEST_P(HtmlPartTable, HtmlBodyEndsInBlankLine)
{
    const std::string head = std::string(GetParam().contentType) + "\r\n\r\n";
    const std::string written = GetParam().isHtml ? "word\r\n\r\n" : "word\r\n";
    EXPECT_EQ(FilterMessage(head + "word\r\n", 0), head + written);
}

INSTANTIATE_TEST_SUITE_P(ContentTypes, HtmlPartTable,
                         ::testing::Values(HtmlTestCase{"Content-Type: text/html", true},
                                           HtmlTestCase{"content-type: Text/HTML; charset=utf-8", true},
                                           HtmlTestCase{"Content-Type: multipart/x; type=\"text/html\"", true},
                                           HtmlTestCase{"Content-Type: text/plain", false},
                                           HtmlTestCase{"Subject: text/html", false}));

TEST(FilterPartHandler, HtmlPartWithoutBodyIsNotScanned)
{
    const std::string message = "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n"
                                "--B\r\nContent-Type: text/html\r\n\r\n--B--\r\n";
    EXPECT_EQ(FilterMessage(message, 0), message);
}

}  // namespace
