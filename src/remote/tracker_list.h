#ifndef TAGSTRIP_REMOTE_TRACKER_LIST_H
#define TAGSTRIP_REMOTE_TRACKER_LIST_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace re2 {
class RE2;
}

// Addresses of known mail trackers: regular expressions (ECMAScript-like syntax, as RE2
// reads it) matched in any letter case anywhere in an address, all at once and in time
// linear in the address, whatever the patterns.
//
// A table has one pattern a line, after the sender it belongs to and a TAB; a line
// without a TAB is a pattern alone; empty lines and lines starting with "#" are skipped.
class TrackerList {
public:
    TrackerList();
    TrackerList(TrackerList&&) noexcept;
    ~TrackerList();

    // Adds the patterns of one table. A pattern that does not compile is left out and
    // named in problems as "origin:line: reason".
    void AddTable(std::string_view table, const std::string& origin, std::vector<std::string>& problems);
    // Keeps a table whose patterns are added at the first match, unchecked until then:
    // for tables whose problems nobody reads.
    void AddTableAtFirstMatch(std::string table);
    // Readies the list for matching (the patterns are compiled at the first match);
    // nothing can be added afterwards.
    void Compile();

    bool Matches(std::string_view address) const;
    // The patterns AddTable took.
    std::size_t Size() const { return count; }

private:
    struct Matcher;
    std::unique_ptr<Matcher> matcher;
    std::size_t count = 0;
};

// The list that ships with the module.
extern const char kBuiltInTrackers[];

// The admin's own table, in the analyzer's ini directory.
constexpr const char* kOwnTrackersFile = "Remote-trackers.tsv";

// The problems of the admin's own table in directory ("path:line: reason"), and how many
// of its patterns are good; no problems and none for a missing table.
std::vector<std::string> CheckOwnTrackers(const std::string& directory, std::size_t& goodPatterns);

#endif
