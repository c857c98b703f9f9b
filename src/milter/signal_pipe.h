#ifndef TAGSTRIP_MILTER_SIGNAL_PIPE_H
#define TAGSTRIP_MILTER_SIGNAL_PIPE_H

// What the main thread is told to do.
enum class ControlEvent { Stop, Reload, MilterEnded };

// Turns SIGTERM, SIGINT and SIGHUP into events the main thread reads in order. The
// handlers run on the main thread: libmilter's own signal thread would stop the milter
// on SIGHUP, and the kernel hands a process's signal to its main thread first whenever
// that thread has it unblocked, which it keeps so while every other thread blocks it.
class SignalPipe {
public:
    // Installs the handlers; false when the pipe cannot be made.
    bool Open();
    // Blocks the three signals in the calling thread and the threads it starts later.
    static void BlockInThisThread();
    static void UnblockInThisThread();
    // Safe from any thread.
    void Post(ControlEvent event);
    ControlEvent Wait();

private:
    int readEnd = -1;
};

#endif
