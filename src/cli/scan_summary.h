#ifndef TAGSTRIP_CLI_SCAN_SUMMARY_H
#define TAGSTRIP_CLI_SCAN_SUMMARY_H

#include <cstdint>
#include <iosfwd>

#include "common/category.h"
#include "host/host_session.h"
#include "cli/json_line.h"

// Counts over a scan. The lines "Time" and "Rate" of the table, and "seconds",
// "messagesPerSecond" and "megabytesPerSecond" of the JSON form, are the only ones that
// depend on timing.
class ScanSummary {
public:
    // foundOnlyDecoded: decoding found a category that the message as it stands does not show.
    void Add(const MessageAnalysis& analysis, bool foundOnlyDecoded);
    void AddFailure() { ++failed; }
    bool AnyFailed() const { return failed != 0; }
    std::uint64_t Messages() const { return messages; }

    void PrintTable(std::ostream& out, double seconds, std::uint64_t bytes) const;
    JsonObject Json(double seconds, std::uint64_t bytes) const;

private:
    std::uint64_t messages = 0;
    std::uint64_t html = 0;
    std::uint64_t rewritten = 0;
    std::uint64_t skipped = 0;
    std::uint64_t inactive = 0;
    std::uint64_t failed = 0;
    std::uint64_t decodedParts = 0;
    std::uint64_t foundOnlyDecoded = 0;
    long long totalScore = 0;
    std::uint64_t found[CategoryCount] = {};
    std::uint64_t removed[CategoryCount] = {};
};

#endif
