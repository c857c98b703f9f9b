#ifndef TAGSTRIP_MAILBOX_STOP_SIGNALS_H
#define TAGSTRIP_MAILBOX_STOP_SIGNALS_H

// SIGTERM, SIGINT and SIGHUP only ask a mailbox command to stop: it notices between two
// steps, abandons or finishes the step it is in, releases its locks and removes what it
// staged. SIGXFSZ is ignored, so that writing past the file size limit fails as a write
// error and takes the same path as a full disk.
namespace StopSignals {

void Install();
// The signal that asked to stop, 0 while none did.
int Requested();
const char* Name(int signal);
// Ends the process by the requested signal with its default action, so that whoever
// started us sees how we ended. Returns when no signal was requested.
void EndByRequestedSignal();

// Holds the stop signals back while a step that must not be cut short runs.
class Deferred {
public:
    Deferred();
    Deferred(const Deferred&) = delete;
    Deferred& operator=(const Deferred&) = delete;
    ~Deferred();
};

}  // namespace StopSignals

#endif
