#include "cli/command_line.h"

namespace {

const OptionRule* FindRule(const std::vector<OptionRule>& rules, const std::string& name)
{
    for (const OptionRule& rule : rules) {
        if (name == rule.name) {
            return &rule;
        }
    }
    return nullptr;
}

const OptionRule* FindShortRule(const std::vector<OptionRule>& rules, const std::string& word)
{
    if (word.size() < 2 || word[0] != '-' || word[1] == '-') {
        return nullptr;
    }
    for (const OptionRule& rule : rules) {
        if (rule.shortName != '\0' && word[1] == rule.shortName) {
            return &rule;
        }
    }
    return nullptr;
}

// "-xVALUE" or "-x VALUE" for an option with a value, "-x" alone for one without.
bool ParseShortOption(const std::vector<std::string>& words, std::size_t& i, const OptionRule& rule,
                      ParsedCommandLine& parsed, std::string& error)
{
    const std::string& word = words[i];
    const std::string shortName = word.substr(0, 2);
    std::vector<std::string>& values = parsed.options[rule.name];
    if (!rule.takesValue) {
        if (word.size() > 2) {
            error = "option " + shortName + " takes no value";
            return false;
        }
        values.push_back("");
    } else if (word.size() > 2) {
        values.push_back(word.substr(2));
    } else if (i + 1 < words.size()) {
        values.push_back(words[++i]);
    } else {
        error = "option " + shortName + " needs a value";
        return false;
    }
    return true;
}

}  // namespace

bool ParsedCommandLine::Has(const std::string& name) const
{
    return options.count(name) != 0;
}

std::string ParsedCommandLine::Value(const std::string& name, const std::string& fallback) const
{
    auto found = options.find(name);
    return found == options.end() ? fallback : found->second.back();
}

std::vector<std::string> ParsedCommandLine::Values(const std::string& name) const
{
    auto found = options.find(name);
    return found == options.end() ? std::vector<std::string>() : found->second;
}

bool ParseCommandLine(const std::vector<std::string>& words, const std::vector<OptionRule>& rules,
                      ParsedCommandLine& parsed, std::string& error)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            parsed.arguments.insert(parsed.arguments.end(), words.begin() + i + 1, words.end());
            return true;
        }
        if (const OptionRule* rule = FindShortRule(rules, word)) {
            if (!ParseShortOption(words, i, *rule, parsed, error)) {
                return false;
            }
            continue;
        }
        if (word.compare(0, 2, "--") != 0) {
            parsed.arguments.push_back(word);
            continue;
        }
        std::size_t equals = word.find('=');
        std::string name = word.substr(0, equals);
        const OptionRule* rule = FindRule(rules, name);
        if (rule == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        if (!rule->takesValue && equals != std::string::npos) {
            error = "option " + name + " takes no value";
            return false;
        }
        std::vector<std::string>& values = parsed.options[name];
        if (!rule->takesValue) {
            values.push_back("");
        } else if (equals != std::string::npos) {
            values.push_back(word.substr(equals + 1));
        } else if (i + 1 < words.size()) {
            values.push_back(words[++i]);
        } else {
            error = "option " + name + " needs a value";
            return false;
        }
    }
    return true;
}
