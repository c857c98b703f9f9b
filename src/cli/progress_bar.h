#ifndef TAGSTRIP_CLI_PROGRESS_BAR_H
#define TAGSTRIP_CLI_PROGRESS_BAR_H

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

// A one-line progress display: messages done, rate, and an ETA from the bytes read
// against the bytes to read. Redraws at most ten times a second; draws nothing when
// disabled (standard error is not a terminal).
class ProgressBar {
public:
    ProgressBar(std::ostream& out, std::uint64_t totalBytes, bool enabled);
    void Update(std::uint64_t messages, std::uint64_t bytesDone);
    // Clears the line.
    void Finish();

    static std::string Line(std::uint64_t messages, std::uint64_t bytesDone, std::uint64_t totalBytes,
                            double seconds);

private:
    using Clock = std::chrono::steady_clock;

    std::ostream& out;
    std::uint64_t totalBytes;
    bool enabled;
    Clock::time_point start = Clock::now();
    Clock::time_point lastDrawn;
};

#endif
