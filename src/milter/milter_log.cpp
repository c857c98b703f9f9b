#include "milter/milter_log.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>

namespace {

const char kProgram[] = "tagstrip-milter";

std::string TimeStamp()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

}  // namespace

MilterLog::~MilterLog()
{
    if (ownsDescriptor) {
        close(descriptor);
    }
    if (syslogOpen) {
        closelog();
    }
}

void MilterLog::UseSyslog()
{
    openlog(kProgram, LOG_PID | LOG_NDELAY, LOG_MAIL);
    syslogOpen = true;
}

bool MilterLog::UseFile(const std::string& path, std::string& error)
{
    if (path == "-") {
        descriptor = STDERR_FILENO;
        return true;
    }
    descriptor = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0640);
    if (descriptor < 0) {
        error = path + ": cannot open the log file: " + std::strerror(errno);
        return false;
    }
    ownsDescriptor = true;
    return true;
}

void MilterLog::Info(const std::string& line) const
{
    Write(LOG_INFO, line);
}

void MilterLog::Error(const std::string& line) const
{
    Write(LOG_ERR, line);
}

void MilterLog::Write(int priority, const std::string& line) const
{
    if (descriptor < 0) {
        syslog(priority, "%s", line.c_str());
        return;
    }
    std::string stamped =
        TimeStamp() + " " + kProgram + "[" + std::to_string(getpid()) + "]: " + line + "\n";
    ssize_t written = write(descriptor, stamped.data(), stamped.size());
    (void)written;
}
