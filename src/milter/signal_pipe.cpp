#include "milter/signal_pipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int writeEnd = -1;

const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

char EventByte(ControlEvent event)
{
    switch (event) {
    case ControlEvent::Stop:
        return 'T';
    case ControlEvent::Reload:
        return 'H';
    case ControlEvent::MilterEnded:
        return 'E';
    }
    return 'T';
}

void OnSignal(int number)
{
    int savedErrno = errno;
    char byte = EventByte(number == SIGHUP ? ControlEvent::Reload : ControlEvent::Stop);
    ssize_t written = write(writeEnd, &byte, 1);
    (void)written;
    errno = savedErrno;
}

sigset_t ControlSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int number : kSignals) {
        sigaddset(&set, number);
    }
    return set;
}

}  // namespace

bool SignalPipe::Open()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) {
        sigaction(number, &action, nullptr);
    }
    return true;
}

void SignalPipe::BlockInThisThread()
{
    sigset_t set = ControlSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void SignalPipe::UnblockInThisThread()
{
    sigset_t set = ControlSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void SignalPipe::Post(ControlEvent event)
{
    char byte = EventByte(event);
    ssize_t written = write(writeEnd, &byte, 1);
    (void)written;
}

ControlEvent SignalPipe::Wait()
{
    char byte = 0;
    for (;;) {
        ssize_t count = read(readEnd, &byte, 1);
        if (count == 1) {
            break;
        }
        if (count == 0 || errno != EINTR) {
            return ControlEvent::Stop;
        }
    }
    switch (byte) {
    case 'H':
        return ControlEvent::Reload;
    case 'E':
        return ControlEvent::MilterEnded;
    default:
        return ControlEvent::Stop;
    }
}
