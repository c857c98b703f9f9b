#include <gtest/gtest.h>

#include "host/tagstrip_headers.h"

namespace {

struct RemovalCase {
    const char* what;
    std::string message;
    std::string expected;
    int removed;
};

TEST(TagstripHeaders, IncomingFieldsOfOursAreRemovedFromTheHeaderOnly)
{
    const RemovalCase cases[] = {
        {"none of ours", "Subject: a\nX-Other: b\n\nX-Tagstrip-Score: 1\n",
         "Subject: a\nX-Other: b\n\nX-Tagstrip-Score: 1\n", 0},
        {"score and folded findings", "X-Tagstrip-Score: 220\nSubject: a\nX-Tagstrip-Findings:\n\tone\n two\nTo: b\n\nbody\n",
         "Subject: a\nTo: b\n\nbody\n", 2},
        {"any letter case, blanks before the colon", "x-TAGSTRIP-skipped : nul-byte\r\nSubject: a\r\n\r\nbody\r\n",
         "Subject: a\r\n\r\nbody\r\n", 1},
        {"a lookalike name stays", "X-Tagstrip: 1\nX-Tagstripped: 2\nSubject: a\n\n", "X-Tagstrip: 1\nX-Tagstripped: 2\nSubject: a\n\n", 0},
        {"ours as the last line, no body", "Subject: a\nX-Tagstrip-Score: 0", "Subject: a\n", 1},
        {"only ours", "X-Tagstrip-Score: 0\n", "", 1},
        {"a continuation of another field stays", "Subject: a\n X-Tagstrip-Score: 9\n\n", "Subject: a\n X-Tagstrip-Score: 9\n\n", 0},
    };
    for (const RemovalCase& test : cases) {
        std::string message = test.message;
        EXPECT_EQ(RemoveTagstripHeaderFields(message), test.removed) << test.what;
        EXPECT_EQ(message, test.expected) << test.what;
    }
}

TEST(TagstripHeaders, FieldsFormatWithTheMessagesLineEnds)
{
    MessageAnalysis analysed;
    analysed.score = 150;
    analysed.findings = "      50 Tagstrip - 'Script found.'\n     100 Tagstrip - 'WebBugs found.'\n";
    EXPECT_EQ(FormatHeaderFields(TagstripHeaderFields(analysed), "\r\n"),
              "X-Tagstrip-Score: 150\r\nX-Tagstrip-Findings:\r\n\t      50 Tagstrip - 'Script found.'\r\n"
              "\t     100 Tagstrip - 'WebBugs found.'\r\n");
    EXPECT_EQ(FormatHeaderFields(TagstripHeaderFields(MessageAnalysis()), "\n"),
              "X-Tagstrip-Score: 0\nX-Tagstrip-Findings:\n");
    MessageAnalysis skipped;
    skipped.skipped = &kSkippedNulByte;
    EXPECT_EQ(FormatHeaderFields(TagstripHeaderFields(skipped), "\n"), "X-Tagstrip-Skipped: nul-byte\n");
}

}  // namespace
