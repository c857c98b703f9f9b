#ifndef TAGSTRIP_CLI_CORE_WARM_UP_H
#define TAGSTRIP_CLI_CORE_WARM_UP_H

#include <atomic>
#include <thread>
#include <vector>

// Keeps other cores busy while the program sets up, so that the threads it starts
// afterwards find them awake. Where cores are virtual, a core that has been idle for a
// while can take milliseconds to run a new thread (its virtual processor sleeps on the
// host), the time of dozens of messages; a core that spun through the set-up runs it at
// once. The spinning yields to any other thread, and ends at Stop or on its own after a
// short while.
class CoreWarmUp {
public:
    explicit CoreWarmUp(unsigned cores);
    ~CoreWarmUp();
    CoreWarmUp(const CoreWarmUp&) = delete;
    CoreWarmUp& operator=(const CoreWarmUp&) = delete;

    void Stop();

private:
    void Spin() const;

    std::atomic<bool> stopping{false};
    std::vector<std::thread> spinners;
};

#endif
