#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/findings_folding.h"

namespace {

const std::string kFieldName = "X-Tagstrip-Findings:";

std::vector<std::string> HeaderLines(const std::string& value)
{
    std::vector<std::string> lines;
    std::string text = kFieldName + value;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The findings lines a reader gets back: each tab starts one, each fold is taken out.
std::vector<std::string> Unfolded(const std::string& value)
{
    std::vector<std::string> findings;
    for (const std::string& line : HeaderLines(value)) {
        if (line[0] == '\t') {
            findings.push_back(line.substr(1));
        } else if (line[0] == ' ') {
            findings.back() += line;
        }
    }
    return findings;
}

struct FoldingCase {
    const char* what;
    std::string findings;
    std::string expected;
};

TEST(FindingsFolding, LinesFoldBeforeABlankAndLongRunsAreCut)
{
    const std::string words = "     100 Tagstrip - 'A finding whose text runs on well past the end of one header line.'";
    const std::string run(100, 'w');
    const FoldingCase cases[] = {
        {"none", "", ""},
        {"short lines as they are", "      50 Tagstrip - 'Script found.'\n       0 Remote - 'Links removed.'\n",
         "\n\t      50 Tagstrip - 'Script found.'\n\t       0 Remote - 'Links removed.'"},
        {"no line end after the last", "       7 Tagstrip - 'Links found.'", "\n\t       7 Tagstrip - 'Links found.'"},
        {"exactly the limit stays whole", std::string(77, 'x'), "\n\t" + std::string(77, 'x')},
        {"folds before the last blank that fits", words,
         "\n\t     100 Tagstrip - 'A finding whose text runs on well past the end of one\n header line.'"},
        {"a run longer than a line is cut", run,
         "\n\t" + std::string(77, 'w') + "\n " + std::string(23, 'w')},
        {"a run after a word folds first, then is cut", "ab " + run,
         "\n\tab\n " + std::string(77, 'w') + "\n " + std::string(23, 'w')},
        {"leading blanks are no fold point", std::string(5, ' ') + std::string(80, 'w'),
         "\n\t" + std::string(5, ' ') + std::string(72, 'w') + "\n " + std::string(8, 'w')},
        {"blanks alone never make a line", std::string(90, ' ') + "abc", "\n\tabc"},
        {"tab becomes a blank, other bytes outside ASCII a '?'",
         "      50 X\t- '\xc3\xa9t\xe9\x01\x7f\r'\n", "\n\t      50 X - '??t???\?'"},
        {"blank lines and trailing blanks dropped", "a  \n\n   \nb\n", "\n\ta\n\tb"},
    };
    for (const FoldingCase& test : cases) {
        EXPECT_EQ(FoldedFindingsValue(test.findings), test.expected) << test.what;
    }
}

// Lines of words and runs of every length, some bytes outside ASCII: every header line
// fits the limit and is printable ASCII, no line is blank, and unfolding gives each
// findings line back where it holds no run too long for a line.
TEST(FindingsFolding, AnyFindingsFitTheLimitAndUnfoldToWhatWasWritten)
{
    std::mt19937 random(19);
    for (int round = 0; round < 2000; ++round) {
        std::string findings;
        std::vector<std::string> written;
        const int lines = static_cast<int>(random() % 4) + 1;
        bool longRun = false;
        for (int line = 0; line < lines; ++line) {
            std::string text = std::string(random() % 9, ' ') + "x";
            const std::size_t length = random() % 260;
            std::size_t run = 1;
            while (text.size() < length) {
                const unsigned pick = random() % 12;
                text += pick == 0 ? ' ' : pick == 1 ? static_cast<char>(0x80 + random() % 128) : 'a';
                run = text.back() == ' ' ? 0 : run + 1;
                longRun = longRun || run >= 77;
            }
            findings += text + "\n";
            for (char& byte : text) {
                byte = static_cast<unsigned char>(byte) > 0x7e ? '?' : byte;
            }
            written.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
        }
        const std::string value = FoldedFindingsValue(findings);
        for (const std::string& line : HeaderLines(value)) {
            ASSERT_LE(line.size(), kHeaderLineLimit) << findings;
            ASSERT_NE(line.find_first_not_of(" \t"), std::string::npos) << findings;
            for (char byte : line) {
                ASSERT_TRUE(byte == '\t' || (byte >= 0x20 && byte <= 0x7e)) << findings;
            }
        }
        ASSERT_EQ(Unfolded(value).size(), written.size()) << findings;
        if (!longRun) {
            ASSERT_EQ(Unfolded(value), written) << findings;
        }
    }
}

}  // namespace
