#ifndef TAGSTRIP_MILTER_SESSION_HOLDER_H
#define TAGSTRIP_MILTER_SESSION_HOLDER_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/host_session.h"

// The analysis session that new messages use. Reopening it (to read the settings again)
// puts a new session in place for the messages that come next; a message already being
// analysed keeps the session it took, which closes when the last such message is done.
// The lock guards only the exchange of the pointer, never an analysis.
class SessionHolder {
public:
    bool Open(const std::vector<std::string>& modulePaths, const std::string& configDirectory, std::string& error);
    std::shared_ptr<const HostSession> Current() const;
    void Close();

private:
    mutable std::mutex mutex;
    std::shared_ptr<const HostSession> session;
};

#endif
