#ifndef TAGSTRIP_MILTER_MILTER_LOG_H
#define TAGSTRIP_MILTER_MILTER_LOG_H

#include <string>

// Where the milter's lines go: syslog (facility mail), or a file of its own, one line a
// write, each stamped with the time and the process id ("-" is standard error).
class MilterLog {
public:
    MilterLog() = default;
    MilterLog(const MilterLog&) = delete;
    MilterLog& operator=(const MilterLog&) = delete;
    ~MilterLog();

    void UseSyslog();
    bool UseFile(const std::string& path, std::string& error);

    void Info(const std::string& line) const;
    void Error(const std::string& line) const;

private:
    void Write(int priority, const std::string& line) const;

    int descriptor = -1;
    bool ownsDescriptor = false;
    bool syslogOpen = false;
};

#endif
