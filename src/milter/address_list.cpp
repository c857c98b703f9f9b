#include "milter/address_list.h"

#include <re2/re2.h>
#include <sstream>

#include "milter/text_file.h"

namespace {

const char kBlanks[] = " \t\r";

std::string Lowercase(std::string text)
{
    for (char& letter : text) {
        if (letter >= 'A' && letter <= 'Z') {
            letter = static_cast<char>(letter - 'A' + 'a');
        }
    }
    return text;
}

std::string Trimmed(const std::string& text)
{
    std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string::npos) {
        return "";
    }
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

re2::RE2::Options PatternOptions()
{
    re2::RE2::Options options;
    options.set_case_sensitive(false);
    options.set_log_errors(false);
    return options;
}

bool ValidDomain(const std::string& domain)
{
    return !domain.empty() && domain.find_first_of("@<> \t") == std::string::npos;
}

bool ValidAddress(const std::string& address)
{
    std::size_t at = address.rfind('@');
    return at != std::string::npos && at > 0 && address.find_first_of("<> \t") == std::string::npos &&
           ValidDomain(address.substr(at + 1));
}

}  // namespace

AddressList::AddressList() = default;
AddressList::AddressList(AddressList&&) noexcept = default;
AddressList& AddressList::operator=(AddressList&&) noexcept = default;
AddressList::~AddressList() = default;

bool AddressList::Load(const std::string& path, const std::string& origin, std::vector<std::string>& problems)
{
    std::string text;
    std::string error;
    if (!ReadTextFile(path, text, error)) {
        *this = AddressList();
        problems.push_back(origin + ": cannot read " + path + ": " + error);
        return false;
    }
    return Parse(text, path, problems);
}

bool AddressList::Parse(const std::string& text, const std::string& name, std::vector<std::string>& problems)
{
    *this = AddressList();
    std::istringstream lines(text);
    std::string line;
    bool good = true;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::string entry = Trimmed(line);
        std::string problem;
        if (!entry.empty() && entry[0] != '#' && !AddEntry(entry, problem)) {
            problems.push_back(name + ":" + std::to_string(number) + ": " + problem);
            good = false;
        }
    }
    return good;
}

bool AddressList::AddEntry(const std::string& entry, std::string& problem)
{
    if (entry == "<>") {
        addresses.insert("");
        return true;
    }
    if (entry[0] == '/') {
        if (entry.size() < 3 || entry.back() != '/') {
            problem = "'" + entry + "': a regular expression goes between two slashes, /like this/";
            return false;
        }
        auto pattern = std::make_unique<re2::RE2>(entry.substr(1, entry.size() - 2), PatternOptions());
        if (!pattern->ok()) {
            problem = "bad regular expression " + entry + ": " + pattern->error();
            return false;
        }
        patterns.push_back(std::move(pattern));
        return true;
    }
    if (entry[0] == '@') {
        if (!ValidDomain(entry.substr(1))) {
            problem = "'" + entry + "' is no @domain";
            return false;
        }
        domains.insert(Lowercase(entry.substr(1)));
        return true;
    }
    if (!ValidAddress(entry)) {
        problem = "'" + entry + "' is no address, @domain, /regex/ or <>";
        return false;
    }
    addresses.insert(Lowercase(entry));
    return true;
}

bool AddressList::Empty() const
{
    return addresses.empty() && domains.empty() && patterns.empty();
}

bool AddressList::Matches(const std::string& address) const
{
    std::string lowered = Lowercase(address);
    if (addresses.count(lowered) != 0) {
        return true;
    }
    std::size_t at = lowered.rfind('@');
    if (at != std::string::npos && domains.count(lowered.substr(at + 1)) != 0) {
        return true;
    }
    for (const std::unique_ptr<re2::RE2>& pattern : patterns) {
        if (re2::RE2::PartialMatch(address, *pattern)) {
            return true;
        }
    }
    return false;
}

std::string AddressList::Bare(const std::string& argument)
{
    std::string address = Trimmed(argument);
    if (!address.empty() && address[0] == '<') {
        std::size_t close = address.find('>');
        address = address.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        address = address.substr(0, address.find_first_of(kBlanks));
    }
    std::size_t routeEnd = address.find(':');
    if (!address.empty() && address[0] == '@' && routeEnd != std::string::npos) {
        address = address.substr(routeEnd + 1);
    }
    return address;
}
