#include "cli/progress_bar.h"

#include <cstdio>
#include <ostream>

namespace {

constexpr int kBarWidth = 24;
constexpr std::chrono::milliseconds kRedrawInterval(100);

std::string Bar(double fraction)
{
    int filled = static_cast<int>(fraction * kBarWidth);
    return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "]";
}

std::string Duration(double seconds)
{
    long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, std::uint64_t totalBytes, bool enabled)
    : out(out), totalBytes(totalBytes), enabled(enabled)
{
}

std::string ProgressBar::Line(std::uint64_t messages, std::uint64_t bytesDone, std::uint64_t totalBytes,
                              double seconds)
{
    double fraction = totalBytes == 0 ? 1.0 : static_cast<double>(bytesDone) / totalBytes;
    fraction = fraction > 1.0 ? 1.0 : fraction;
    double rate = seconds > 0 ? messages / seconds : 0.0;
    std::string eta = fraction > 0 ? Duration(seconds * (1.0 - fraction) / fraction) : "?";
    char text[96];
    std::snprintf(text, sizeof text, "%llu messages, %.0f/s ", static_cast<unsigned long long>(messages), rate);
    return text + Bar(fraction) + " " + std::to_string(static_cast<int>(fraction * 100)) + "% ETA " + eta;
}

void ProgressBar::Update(std::uint64_t messages, std::uint64_t bytesDone)
{
    Clock::time_point now = Clock::now();
    if (!enabled || now - lastDrawn < kRedrawInterval) {
        return;
    }
    lastDrawn = now;
    double seconds = std::chrono::duration<double>(now - start).count();
    out << "\r\033[K" << Line(messages, bytesDone, totalBytes, seconds) << std::flush;
}

void ProgressBar::Finish()
{
    if (enabled) {
        out << "\r\033[K" << std::flush;
    }
}
