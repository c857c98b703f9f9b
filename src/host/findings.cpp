#include "host/findings.h"

#include <algorithm>
#include <string_view>

namespace {

// Each category's found and removed texts in single quotes, as a findings line ends.
struct QuotedTexts {
    std::string found[CategoryCount];
    std::string removed[CategoryCount];

    QuotedTexts()
    {
        for (int category = 0; category < CategoryCount; ++category) {
            found[category] = std::string("'") + kCategories[category].foundText + "'";
            removed[category] = std::string("'") + kCategories[category].removedText + "'";
        }
    }
};

const QuotedTexts& TheQuotedTexts()
{
    static const QuotedTexts texts;
    return texts;
}

bool EndsWithText(std::string_view line, const std::string& ending)
{
    return line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

CategoryMarks MarksFromFindings(const std::string& findings)
{
    const QuotedTexts& quoted = TheQuotedTexts();
    CategoryMarks marks;
    std::size_t start = 0;
    while (start < findings.size()) {
        const std::size_t end = std::min(findings.find('\n', start), findings.size());
        const std::string_view line(findings.data() + start, end - start);
        for (int category = 0; category < CategoryCount; ++category) {
            marks.found[category] |= EndsWithText(line, quoted.found[category]);
            marks.removed[category] |= EndsWithText(line, quoted.removed[category]);
        }
        start = end + 1;
    }
    return marks;
}

std::vector<std::string> FindingsLines(const std::string& findings)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < findings.size()) {
        std::size_t end = findings.find('\n', start);
        if (end == std::string::npos) {
            end = findings.size();
        }
        lines.push_back(findings.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
