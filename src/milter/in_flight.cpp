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

void InFlightMessages::WaitUntilIdle()
{
    std::unique_lock<std::mutex> lock(mutex);
    idle.wait(lock, [this] { return count == 0; });
}
