#include "milter/milter_configuration.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "milter/text_file.h"

namespace {

const char kBlanks[] = " \t\r";

std::string Trimmed(const std::string& text)
{
    std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string::npos) {
        return "";
    }
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

std::string Unquoted(const std::string& value)
{
    bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return quoted ? value.substr(1, value.size() - 2) : value;
}

std::string DirectoryOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
}

std::string FromDirectory(const std::string& directory, const std::string& path)
{
    return path.empty() || path[0] == '/' ? path : directory + "/" + path;
}

// One line of the file as a setting; false with problem set.
bool ParseLine(const std::string& line, const std::string& directory, OptionSetting& setting, std::string& problem)
{
    std::size_t nameEnd = line.find_first_of(" \t=");
    std::string spelled = line.substr(0, nameEnd);
    std::string rest = nameEnd == std::string::npos ? "" : Trimmed(line.substr(nameEnd));
    if (!rest.empty() && rest[0] == '=') {
        rest = Trimmed(rest.substr(1));
    }
    OptionFacts facts;
    if (!LookUpOption(spelled, facts)) {
        problem = "unknown option '" + spelled + "'";
        return false;
    }
    if (facts.scope == OptionScope::CommandLineOnly) {
        problem = facts.name + " is for the command line only";
        return false;
    }
    if (rest.empty() && !facts.isSwitch) {
        problem = facts.name + " wants a value";
        return false;
    }
    std::string value = Unquoted(rest);
    setting.name = facts.name;
    setting.value = facts.isPath ? FromDirectory(directory, value) : value;
    return true;
}

bool Given(const std::vector<OptionSetting>& settings, const std::string& name)
{
    return std::any_of(settings.begin(), settings.end(),
                       [&](const OptionSetting& setting) { return setting.name == name; });
}

// The value in force for an option ("" when not given) and where it was given.
const OptionSetting* LastOf(const std::vector<OptionSetting>& settings, const std::string& name)
{
    auto found = std::find_if(settings.rbegin(), settings.rend(),
                              [&](const OptionSetting& setting) { return setting.name == name; });
    return found == settings.rend() ? nullptr : &*found;
}

std::vector<OptionSetting> Without(const std::vector<OptionSetting>& settings, const std::string& name)
{
    std::vector<OptionSetting> kept;
    std::copy_if(settings.begin(), settings.end(), std::back_inserter(kept),
                 [&](const OptionSetting& setting) { return setting.name != name; });
    return kept;
}

// Every setting of name in next replaced by those of running; true when that changes
// what is in force.
bool KeepRunning(const std::vector<OptionSetting>& running, std::vector<OptionSetting>& next, const std::string& name)
{
    const OptionSetting* before = LastOf(running, name);
    const OptionSetting* after = LastOf(next, name);
    bool changed = (before == nullptr) != (after == nullptr) || (before != nullptr && before->value != after->value);
    next = Without(next, name);
    for (const OptionSetting& setting : running) {
        if (setting.name == name) {
            next.push_back(setting);
        }
    }
    return changed;
}

bool LoadSkipList(const std::vector<OptionSetting>& settings, const char* name, const std::string& path,
                  AddressList& list, std::vector<std::string>& problems)
{
    const OptionSetting* given = LastOf(settings, name);
    return path.empty() || given == nullptr || list.Load(path, given->origin, problems);
}

}  // namespace

bool ReadConfigFile(const std::string& path, bool required, std::vector<OptionSetting>& settings,
                    std::vector<std::string>& problems)
{
    std::string text;
    std::string error;
    bool missing = false;
    if (!ReadTextFile(path, text, error, &missing)) {
        if (missing && !required) {
            return true;
        }
        problems.push_back(path + ": cannot read: " + error);
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    bool good = true;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        OptionSetting setting;
        std::string origin = path + ":" + std::to_string(number);
        if (ParseLine(line, DirectoryOf(path), setting, error)) {
            setting.origin = origin;
            settings.push_back(setting);
        } else {
            problems.push_back(origin + ": " + error);
            good = false;
        }
    }
    return good;
}

MilterConfiguration::MilterConfiguration(std::vector<OptionSetting> commandLine)
    : commandLine(std::move(commandLine)), file(DefaultMilterOptions().configFile), fileRequired(false)
{
    if (const OptionSetting* given = LastOf(this->commandLine, "config")) {
        file = given->value;
        fileRequired = true;
    }
}

bool MilterConfiguration::Collect(std::vector<OptionSetting>& collected, std::vector<std::string>& problems) const
{
    std::vector<OptionSetting> fromFile;
    bool good = ReadConfigFile(file, fileRequired, fromFile, problems);
    // An option given on the command line replaces all of the file's (--module adds to
    // the command line's own list only).
    for (const OptionSetting& setting : fromFile) {
        if (!Given(commandLine, setting.name)) {
            collected.push_back(setting);
        }
    }
    collected.insert(collected.end(), commandLine.begin(), commandLine.end());
    return good;
}

bool MilterConfiguration::Build(const std::vector<OptionSetting>& collected, std::vector<std::string>& problems)
{
    auto built = std::make_shared<MilterOptions>(DefaultMilterOptions());
    bool good = true;
    for (const OptionSetting& setting : collected) {
        std::string error;
        if (!ApplyOption(*built, setting, error)) {
            problems.push_back(setting.origin + ": " + error);
            good = false;
        }
    }
    good = LoadSkipList(collected, "skip-from", built->skipFromFile, built->skipFrom, problems) && good;
    good = LoadSkipList(collected, "skip-to", built->skipToFile, built->skipTo, problems) && good;
    if (good) {
        settings = collected;
        options = std::move(built);
    }
    return good;
}

bool MilterConfiguration::Load(std::vector<std::string>& problems)
{
    std::vector<OptionSetting> collected;
    bool read = Collect(collected, problems);
    return Build(collected, problems) && read;
}

bool MilterConfiguration::Reload(std::vector<std::string>& problems, std::vector<std::string>& restartNeeded)
{
    std::vector<OptionSetting> collected;
    if (!Collect(collected, problems)) {
        return false;
    }
    std::vector<std::string> changed;
    for (const std::string& name : OptionNames(OptionScope::AtStart)) {
        if (KeepRunning(settings, collected, name)) {
            changed.push_back(name);
        }
    }
    if (!Build(collected, problems)) {
        return false;
    }
    restartNeeded = changed;
    return true;
}
