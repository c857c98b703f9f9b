#include "remote/tracker_list.h"

#include <fstream>
#include <mutex>
#include <sstream>

#include <re2/re2.h>
#include <re2/set.h>

namespace {

RE2::Options PatternOptions()
{
    RE2::Options options;
    options.set_case_sensitive(false);
    options.set_encoding(RE2::Options::EncodingLatin1);
    options.set_never_capture(true);
    options.set_log_errors(false);
    return options;
}

std::string_view PatternOfLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty() || line.front() == '#') {
        return std::string_view();
    }
    const std::size_t tab = line.find('\t');
    return tab == std::string_view::npos ? line : line.substr(tab + 1);
}

// Adds the patterns of table to set; returns how many it took.
std::size_t AddPatterns(RE2::Set& set, std::string_view table, const std::string& origin,
                        std::vector<std::string>& problems)
{
    std::size_t added = 0;
    int lineNumber = 0;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        const std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        ++lineNumber;
        const std::string_view pattern = PatternOfLine(line);
        if (pattern.empty()) {
            continue;
        }
        std::string error;
        if (set.Add(re2::StringPiece(pattern.data(), pattern.size()), &error) < 0) {
            problems.push_back(origin + ":" + std::to_string(lineNumber) + ": " + error);
        } else {
            ++added;
        }
    }
    return added;
}

}  // namespace

// The set is completed and compiled when the first address is matched: a run that meets
// no address (most messages have none) does without both, the largest costs of loading.
struct TrackerList::Matcher {
    RE2::Set set{PatternOptions(), RE2::UNANCHORED};
    std::vector<std::string> laterTables;
    std::size_t patterns = 0;
    bool wanted = false;
    std::once_flag once;
    bool compiled = false;

    void Complete()
    {
        std::vector<std::string> unreported;
        for (const std::string& table : laterTables) {
            patterns += AddPatterns(set, table, std::string(), unreported);
        }
        laterTables.clear();
        compiled = wanted && patterns > 0 && set.Compile();
    }
};

TrackerList::TrackerList() : matcher(new Matcher()) {}

TrackerList::TrackerList(TrackerList&&) noexcept = default;

TrackerList::~TrackerList() = default;

void TrackerList::AddTable(std::string_view table, const std::string& origin, std::vector<std::string>& problems)
{
    const std::size_t added = AddPatterns(matcher->set, table, origin, problems);
    count += added;
    matcher->patterns += added;
}

void TrackerList::AddTableAtFirstMatch(std::string table)
{
    matcher->laterTables.push_back(std::move(table));
}

void TrackerList::Compile()
{
    matcher->wanted = true;
}

bool TrackerList::Matches(std::string_view address) const
{
    Matcher& match = *matcher;
    std::call_once(match.once, [&match] { match.Complete(); });
    return match.compiled && match.set.Match(re2::StringPiece(address.data(), address.size()), nullptr);
}

std::vector<std::string> CheckOwnTrackers(const std::string& directory, std::size_t& goodPatterns)
{
    std::vector<std::string> problems;
    goodPatterns = 0;
    const std::string path = directory + "/" + kOwnTrackersFile;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return problems;
    }
    std::ostringstream table;
    table << in.rdbuf();
    TrackerList list;
    list.AddTable(table.str(), path, problems);
    goodPatterns = list.Size();
    return problems;
}
