#include "mailbox/stop_signals.h"

#include <csignal>
#include <cstring>
#include <signal.h>

namespace {

const struct {
    int number;
    const char* name;
} kStopSignals[] = {{SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}};

volatile std::sig_atomic_t requested = 0;

extern "C" void NoteStopSignal(int signal)
{
    if (requested == 0) {
        requested = signal;
    }
}

sigset_t StopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const auto& signal : kStopSignals) {
        sigaddset(&set, signal.number);
    }
    return set;
}

}  // namespace

namespace StopSignals {

void Install()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = NoteStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const auto& signal : kStopSignals) {
        sigaction(signal.number, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

int Requested()
{
    return requested;
}

const char* Name(int signal)
{
    for (const auto& known : kStopSignals) {
        if (known.number == signal) {
            return known.name;
        }
    }
    return "a signal";
}

void EndByRequestedSignal()
{
    int signal = requested;
    if (signal == 0) {
        return;
    }
    std::signal(signal, SIG_DFL);
    sigset_t set = StopSignalSet();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(signal);
}

Deferred::Deferred()
{
    sigset_t set = StopSignalSet();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

Deferred::~Deferred()
{
    sigset_t set = StopSignalSet();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace StopSignals
