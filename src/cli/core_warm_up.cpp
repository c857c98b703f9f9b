#include "cli/core_warm_up.h"

#include <chrono>
#include <system_error>

namespace {

// Longer than setting up takes, short enough that a set-up held up elsewhere wastes
// little.
constexpr std::chrono::milliseconds kLongestSpin{20};

}  // namespace

CoreWarmUp::CoreWarmUp(unsigned cores)
{
    try {
        for (unsigned i = 0; i < cores; ++i) {
            spinners.emplace_back([this] { Spin(); });
        }
    } catch (const std::system_error&) {
        // Fewer warm cores only cost time.
    }
}

CoreWarmUp::~CoreWarmUp()
{
    Stop();
}

void CoreWarmUp::Stop()
{
    stopping = true;
    for (std::thread& spinner : spinners) {
        spinner.join();
    }
    spinners.clear();
}

void CoreWarmUp::Spin() const
{
    const auto until = std::chrono::steady_clock::now() + kLongestSpin;
    while (!stopping.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
    }
}
