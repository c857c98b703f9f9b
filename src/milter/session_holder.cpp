#include "milter/session_holder.h"

bool SessionHolder::Open(const std::vector<std::string>& modulePaths, const std::string& configDirectory,
                         std::string& error)
{
    std::shared_ptr<const HostSession> opened = HostSession::Open(modulePaths, configDirectory, error);
    if (opened == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex);
    session.swap(opened);
    return true;
}

std::shared_ptr<const HostSession> SessionHolder::Current() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return session;
}

void SessionHolder::Close()
{
    std::shared_ptr<const HostSession> closing;
    std::lock_guard<std::mutex> lock(mutex);
    session.swap(closing);
}
