#include "milter/in_flight.h"

bool InFlightMessages::Begin()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (stopping) {
        return false;
    }
    ++count;
    return true;
}

void InFlightMessages::End()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (--count == 0) {
        idle.notify_all();
    }
}

int InFlightMessages::Stop()
{
    std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
    return count;
}

bool InFlightMessages::WaitUntilIdle(std::chrono::seconds limit)
{
    std::unique_lock<std::mutex> lock(mutex);
    return idle.wait_for(lock, limit, [this] { return count == 0; });
}
