#include "mime/mime_walker.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mime/line_ends.h"

namespace {

struct Handed {
    bool isHeaderBlock;
    std::string text;

    bool operator==(const Handed& other) const
    {
        return isHeaderBlock == other.isHeaderBlock && text == other.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Handed& handed)
{
    return out << (handed.isHeaderBlock ? "H[" : "B[") << handed.text << "]";
}

Handed H(const std::string& text)
{
    return {true, text};
}

Handed B(const std::string& text)
{
    return {false, text};
}

class RecordingHandler : public PartHandler {
public:
    void Receive(std::string_view text, bool isHeaderBlock) override
    {
        calls.push_back({isHeaderBlock, std::string(text)});
    }

    std::vector<Handed> calls;
};

// Takes body lines in the runs the walker cuts, as the collecting handlers do.
class RunJoiningHandler : public PartHandler {
public:
    void Receive(std::string_view text, bool isHeaderBlock) override
    {
        EXPECT_TRUE(isHeaderBlock);
        joined += text;
    }

    void ReceiveBodyLines(std::string_view rawLines) override
    {
        EXPECT_FALSE(rawLines.empty());
        AppendWithCrLfLineEnds(joined, rawLines);
    }

    std::string joined;
};

std::vector<Handed> Walk(const std::string& message)
{
    RecordingHandler handler;
    MimeWalker().Walk(message, &handler);
    return handler.calls;
}

// The input with every line end, and a missing last one, made "\r\n".
std::string WithCrLfLineEnds(const std::string& message)
{
    std::string result;
    std::istringstream in(message);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result += line + "\r\n";
    }
    return result;
}

struct WalkCase {
    const char* name;
    std::string message;
    std::vector<Handed> expected;
};

const std::string kNestedHead =
    "Content-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"
    "--OUT\r\nContent-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n"
    "--IN\r\n\r\na\r\n";
const std::vector<Handed> kNestedHeadCalls = {
    H("Content-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"),
    H("--OUT\r\nContent-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n"),
    H("--IN\r\n\r\n"),
    B("a\r\n"),
};

std::vector<Handed> AfterNestedHead(std::vector<Handed> rest)
{
    std::vector<Handed> calls = kNestedHeadCalls;
    calls.insert(calls.end(), rest.begin(), rest.end());
    return calls;
}

std::vector<WalkCase> WalkCases()
{
    return {
        {"Empty", "", {}},
        {"NoEmptyLine", "From: a\r\nSubject: b", {H("From: a\r\nSubject: b\r\n")}},
        {"HtmlMessageNeverLooksAtDashes",
         "Content-Type: text/html\r\n\r\n<p>\r\n--B1\r\n\r\n",
         {H("Content-Type: text/html\r\n\r\n"), B("<p>\r\n"), B("--B1\r\n"), B("\r\n")}},
        {"QuotedBoundaryWithEpilogue",
         "Content-Type: multipart/alternative; boundary=\"B1\"\r\n\r\npre\r\n"
         "--B1\r\nContent-Type: text/plain\r\n\r\nplain\r\n--B1 \r\n--b1\r\n"
         "--B1--\r\n\r\nepilogue\r\n--B1\r\n\r\nlast\r\n",
         {H("Content-Type: multipart/alternative; boundary=\"B1\"\r\n\r\n"), B("pre\r\n"),
          H("--B1\r\nContent-Type: text/plain\r\n\r\n"), B("plain\r\n"), B("--B1 \r\n"), B("--b1\r\n"),
          H("--B1--\r\n\r\n"), B("epilogue\r\n"), H("--B1\r\n\r\n"), B("last\r\n")}},
        {"FoldedContentType",
         "Content-Type: multipart/mixed;\r\n\tboundary=\"F\"\r\n\r\n--F\r\n\r\nx\r\n",
         {H("Content-Type: multipart/mixed;\r\n\tboundary=\"F\"\r\n\r\n"), H("--F\r\n\r\n"), B("x\r\n")}},
        {"LowerCaseNameCapitalType",
         "content-type: MULTIPART/MIXED; BOUNDARY=\"b\"\r\n\r\n--b\r\n\r\n",
         {H("content-type: MULTIPART/MIXED; BOUNDARY=\"b\"\r\n\r\n"), H("--b\r\n\r\n")}},
        {"UnquotedBoundaryAtMessageLevel",
         "Content-Type: multipart/mixed; boundary=U\r\n\r\n--U\r\n\r\nx\r\n",
         {H("Content-Type: multipart/mixed; boundary=U\r\n\r\n"), B("--U\r\n"), B("\r\n"), B("x\r\n")}},
        {"UnquotedBoundaryNested",
         "Content-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"
         "--OUT\r\nContent-Type: multipart/related; boundary=R\r\n\r\n--R\r\n\r\n--OUT--\r\n",
         {H("Content-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"),
          H("--OUT\r\nContent-Type: multipart/related; boundary=R\r\n\r\n"), B("--R\r\n"), B("\r\n"),
          H("--OUT--\r\n")}},
        {"TwoDeep",
         kNestedHead + "--OUT\r\n--IN--\r\n\r\n--OUT\r\nContent-Type: text/html\r\n\r\nb\r\n--OUT--\r\n",
         AfterNestedHead({B("--OUT\r\n"), H("--IN--\r\n\r\n"), H("--OUT\r\nContent-Type: text/html\r\n\r\n"),
                          B("b\r\n"), H("--OUT--\r\n")})},
        {"ThreeDeep",
         kNestedHead + "--IN\r\nContent-Type: multipart/related; boundary=\"DEEP\"\r\n\r\n"
                       "--DEEP\r\n\r\nd\r\n--DEEP--\r\n\r\n--IN\r\n\r\ni\r\n--IN--\r\n\r\n--OUT\r\n\r\no\r\n",
         AfterNestedHead({H("--IN\r\nContent-Type: multipart/related; boundary=\"DEEP\"\r\n\r\n"),
                          H("--DEEP\r\n\r\n"), B("d\r\n"), H("--DEEP--\r\n\r\n"), H("--IN\r\n\r\n"), B("i\r\n"),
                          H("--IN--\r\n\r\n"), H("--OUT\r\n\r\n"), B("o\r\n")})},
        {"InnerCloseDirectlyBeforeOuterDelimiter",
         kNestedHead + "--IN--\r\n--OUT\r\nContent-Type: text/html\r\n\r\nb\r\n--IN\r\n--OUT--\r\n\r\n",
         AfterNestedHead({H("--IN--\r\n--OUT\r\nContent-Type: text/html\r\n\r\n"), B("b\r\n"), B("--IN\r\n"),
                          H("--OUT--\r\n\r\n")})},
        {"InnerCloseThenNextOuterPartOpensMultipart",
         kNestedHead + "--IN--\r\n--OUT\r\nContent-Type: multipart/related; boundary=\"R\"\r\n\r\n--R\r\n\r\nr\r\n",
         AfterNestedHead({H("--IN--\r\n--OUT\r\nContent-Type: multipart/related; boundary=\"R\"\r\n\r\n"),
                          H("--R\r\n\r\n"), B("r\r\n")})},
        {"TwoCloseDelimitersInARowCloseOneLevel",
         kNestedHead + "--IN\r\nContent-Type: multipart/related; boundary=\"IN2\"\r\n\r\n"
                       "--IN2--\r\n--IN--\r\n\r\n--OUT\r\n--IN\r\n\r\n",
         AfterNestedHead({H("--IN\r\nContent-Type: multipart/related; boundary=\"IN2\"\r\n\r\n"),
                          H("--IN2--\r\n--IN--\r\n\r\n"), B("--OUT\r\n"), H("--IN\r\n\r\n")})},
        {"LineEnds",
         "Content-Type: text/html\n\nline\r\r\nlast",
         {H("Content-Type: text/html\r\n\r\n"), B("line\r\r\n"), B("last\r\n")}},
        {"BeginsWithEmptyLine",
         "\r\nContent-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\n",
         {H("\r\n"), B("Content-Type: multipart/mixed; boundary=\"B\"\r\n"), B("\r\n"), B("--B\r\n")}},
    };
}

class WalkTable : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkTable, HandsOnBlocksAndLinesInOrder)
{
    EXPECT_EQ(Walk(GetParam().message), GetParam().expected);
}

TEST_P(WalkTable, JoinedTextIsInputWithCrLfLineEnds)
{
    std::string joined;
    for (const Handed& handed : Walk(GetParam().message)) {
        joined += handed.text;
    }
    EXPECT_EQ(joined, WithCrLfLineEnds(GetParam().message));
}

TEST_P(WalkTable, RunsOfBodyLinesJoinToTheSameText)
{
    std::string joined;
    for (const Handed& handed : Walk(GetParam().message)) {
        joined += handed.text;
    }
    RunJoiningHandler handler;
    MimeWalker().Walk(GetParam().message, &handler);
    EXPECT_EQ(handler.joined, joined);
}

INSTANTIATE_TEST_SUITE_P(Forms, WalkTable, ::testing::ValuesIn(WalkCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class LongLine : public ::testing::TestWithParam<std::size_t> {};

// Lines around and far beyond the 4095 characters that the line buffer holds, with the
// carriage return of the line end falling on either side of a buffer boundary.
TEST_P(LongLine, ReachesTheHandlerWholeAndOnce)
{
    const std::string longLine(GetParam(), 'x');
    const std::vector<Handed> calls =
        Walk("Content-Type: text/html\r\n\r\n" + longLine + "\r\nafter\n" + longLine);
    EXPECT_EQ(calls, (std::vector<Handed>{H("Content-Type: text/html\r\n\r\n"), B(longLine + "\r\n"),
                                          B("after\r\n"), B(longLine + "\r\n")}));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongLine, ::testing::Values(4094, 4095, 4096, 8190, 8191, 100000));

}  // namespace
