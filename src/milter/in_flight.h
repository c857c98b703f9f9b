#ifndef TAGSTRIP_MILTER_IN_FLIGHT_H
#define TAGSTRIP_MILTER_IN_FLIGHT_H

#include <chrono>
#include <condition_variable>
#include <mutex>

// Counts the messages between their start and their end, so that stopping can wait for
// them; once stopping, no new message is counted in.
class InFlightMessages {
public:
    // False once stopping began: the message is to be passed on untouched.
    bool Begin();
    void End();
    // Lets no new message in and says how many are still being handled.
    int Stop();
    // False when messages are still in flight after limit.
    bool WaitUntilIdle(std::chrono::seconds limit);

private:
    std::mutex mutex;
    std::condition_variable idle;
    int count = 0;
    bool stopping = false;
};

#endif
