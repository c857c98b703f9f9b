#include "host/findings.h"

#include "common/string_helpers.h"

namespace {

bool EndsInQuoted(const std::string& line, const char* text)
{
    return EndsWith(line, (std::string("'") + text + "'").c_str());
}

}  // namespace

CategoryMarks MarksFromFindings(const std::string& findings)
{
    CategoryMarks marks;
    for (const std::string& line : FindingsLines(findings)) {
        for (int category = 0; category < CategoryCount; ++category) {
            marks.found[category] |= EndsInQuoted(line, kCategories[category].foundText);
            marks.removed[category] |= EndsInQuoted(line, kCategories[category].removedText);
        }
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
