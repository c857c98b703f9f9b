#include "host/settings_check.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>


namespace {

struct KeyRule {
    std::string section;
    std::string key;
    long lowest;
    long highest;
};

constexpr long kHighestPoints = 99999;

std::vector<KeyRule> KnownKeys(const AnalyzerSchema& schema)
{
    std::vector<KeyRule> rules = {{"General", "Active", 0, 1}, {"Settings", "Flags", 0, schema.highestFlags}};
    for (const SchemaCategory& category : schema.categories) {
        rules.push_back({"Settings", category.pointsKey, 0, kHighestPoints});
    }
    return rules;
}

bool SameName(const std::string& left, const std::string& right)
{
    return strcasecmp(left.c_str(), right.c_str()) == 0;
}

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

const KeyRule* FindRule(const std::vector<KeyRule>& rules, const std::string& section, const std::string& key)
{
    for (const KeyRule& rule : rules) {
        if (SameName(rule.section, section) && (key.empty() || SameName(rule.key, key))) {
            return &rule;
        }
    }
    return nullptr;
}

// Empty when value is a whole number within the rule's range, else what is wrong.
std::string ValueProblem(const KeyRule& rule, const std::string& value)
{
    std::string range = std::to_string(rule.lowest) + " to " + std::to_string(rule.highest);
    std::size_t digits = value.compare(0, 1, "-") == 0 ? 1 : 0;
    if (value.size() == digits || value.size() > digits + 9 ||
        value.find_first_not_of("0123456789", digits) != std::string::npos) {
        return "not a whole number; use " + range;
    }
    long number = std::stol(value);
    return number < rule.lowest || number > rule.highest ? "out of range; use " + range : std::string();
}

class IniChecker {
public:
    IniChecker(const std::string& iniPath, const AnalyzerSchema& schema) : rules(KnownKeys(schema)), path(iniPath) {}

    void CheckLine(const std::string& rawLine)
    {
        ++lineNumber;
        std::string line = Trim(rawLine);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            return;
        }
        if (line[0] == '[') {
            section = Trim(line.substr(1, line.find(']') - 1));
            if (FindRule(rules, section, "") == nullptr) {
                Add("", "[" + section + "]", "a section the analyzer does not read");
            }
            return;
        }
        std::size_t equals = line.find('=');
        std::string key = Trim(line.substr(0, equals));
        std::string value = equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
        const KeyRule* rule = FindRule(rules, section, key);
        if (FindRule(rules, section, "") == nullptr) {
            return;
        }
        if (rule == nullptr) {
            Add(key, "[" + section + "] " + key, "a key the analyzer does not know (misspelt?)");
        } else if (std::string problem = ValueProblem(*rule, value); !problem.empty()) {
            Add(rule->key, "[" + section + "] " + key + "=" + value, problem);
            problems.back().badValue = true;
        }
    }

    void AddFileProblem(const std::string& what) { problems.push_back({"", "", 0, false, what, path + ": " + what}); }
    std::vector<SettingsProblem> Problems() const { return problems; }

private:
    void Add(const std::string& key, const std::string& where, const std::string& what)
    {
        problems.push_back({section, key, lineNumber, false, what,
                            path + ":" + std::to_string(lineNumber) + ": " + where + ": " + what});
    }

    const std::vector<KeyRule> rules;
    std::string path;
    std::string section;
    int lineNumber = 0;
    std::vector<SettingsProblem> problems;
};

// The whole file into text; 0, or the errno of what failed.
int ReadFile(const std::string& path, std::string& text)
{
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    char block[4096];
    ssize_t count = 0;
    while ((count = read(descriptor, block, sizeof block)) != 0) {
        if (count < 0 && errno != EINTR) {
            int error = errno;
            close(descriptor);
            text.clear();
            return error;
        }
        text.append(block, count < 0 ? 0 : static_cast<std::size_t>(count));
    }
    close(descriptor);
    return 0;
}

}  // namespace

std::vector<SettingsProblem> CheckPluginSettings(const std::string& iniPath)
{
    return CheckAnalyzerSettings(iniPath, *FindSchemaByName("Tagstrip"));
}

std::vector<SettingsProblem> CheckAnalyzerSettings(const std::string& iniPath, const AnalyzerSchema& schema)
{
    IniChecker checker(iniPath, schema);
    if (iniPath.empty() || iniPath.back() == '/') {
        return checker.Problems();
    }
    std::string text;
    int error = ReadFile(iniPath, text);
    if (error != 0 && error != ENOENT) {
        checker.AddFileProblem(std::string("cannot be read (") + std::strerror(error) +
                               "), so the analyzer uses its built-in settings");
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t newline = text.find('\n', start);
        std::size_t end = newline == std::string::npos ? text.size() : newline;
        checker.CheckLine(text.substr(start, end - start));
        start = end + 1;
    }
    return checker.Problems();
}

const SettingsProblem* FindProblem(const std::vector<SettingsProblem>& problems, const std::string& section,
                                   const std::string& key)
{
    for (const SettingsProblem& problem : problems) {
        if (problem.badValue && SameName(problem.section, section) && SameName(problem.key, key)) {
            return &problem;
        }
    }
    return nullptr;
}
