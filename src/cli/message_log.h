#ifndef TAGSTRIP_CLI_MESSAGE_LOG_H
#define TAGSTRIP_CLI_MESSAGE_LOG_H

#include <chrono>
#include <string>

#include "host/host_session.h"

// One line per message for the mail log (syslog, facility mail), as other mail filters
// write theirs:
//   message-id=<...> size=BYTES result=analysed score=N found=Script,WebBugs
//   removed=Script rewritten=yes ms=N
// result is analysed, inactive, skipped:<reason word> or passed-on:<failure>.
class MessageLog {
public:
    explicit MessageLog(bool enabled);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Takes the message's id now, for a message that may be gone when it is logged.
    void Identify(const std::string& message);
    void Analysed(const std::string& message, std::size_t size, const MessageAnalysis& analysis) const;
    void PassedOn(const std::string& message, std::size_t size, const std::string& result) const;

private:
    void Write(const std::string& message, std::size_t size, const std::string& rest) const;

    bool enabled;
    std::string identified;  // the id Identify took, else each message's own
    std::chrono::steady_clock::time_point start;
};

#endif
