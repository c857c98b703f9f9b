#include "cli/message_log.h"

#include <strings.h>
#include <syslog.h>

#include "common/category.h"
#include "host/findings.h"

namespace {

constexpr std::size_t kLongestMessageId = 200;

std::string CategoryList(const bool (&marked)[CategoryCount])
{
    std::string names;
    for (int category = 0; category < CategoryCount; ++category) {
        if (marked[category]) {
            names += (names.empty() ? "" : ",") + std::string(kCategories[category].name);
        }
    }
    return names.empty() ? "-" : names;
}

// The first line of the Message-ID field, printable characters only, or "-".
std::string MessageId(const std::string& message)
{
    static const char kName[] = "Message-ID:";
    std::size_t start = 0;
    while (start < message.size() && message[start] != '\n' && message[start] != '\r') {
        std::size_t end = message.find('\n', start);
        end = end == std::string::npos ? message.size() : end;
        if (strncasecmp(message.c_str() + start, kName, sizeof kName - 1) == 0) {
            std::string id;
            for (std::size_t at = start + sizeof kName - 1; at < end && id.size() < kLongestMessageId; ++at) {
                if (message[at] > ' ' && message[at] < 127) {
                    id += message[at];
                }
            }
            return id.empty() ? "-" : id;
        }
        start = end + 1;
    }
    return "-";
}

}  // namespace

MessageLog::MessageLog(bool enabled) : enabled(enabled), start(std::chrono::steady_clock::now())
{
    if (enabled) {
        openlog("tagstrip", LOG_PID, LOG_MAIL);
    }
}

MessageLog::~MessageLog()
{
    if (enabled) {
        closelog();
    }
}

void MessageLog::Identify(const std::string& message)
{
    if (enabled) {
        identified = MessageId(message);
    }
}

void MessageLog::Analysed(const std::string& message, std::size_t size, const MessageAnalysis& analysis) const
{
    if (analysis.skipped != nullptr) {
        PassedOn(message, size, std::string("skipped:") + analysis.skipped->token);
        return;
    }
    CategoryMarks marks = MarksFromFindings(analysis.findings);
    Write(message, size,
          "result=analysed score=" + std::to_string(analysis.score) + " found=" + CategoryList(marks.found) +
              " removed=" + CategoryList(marks.removed) + " rewritten=" + (analysis.rewritten ? "yes" : "no"));
}

void MessageLog::PassedOn(const std::string& message, std::size_t size, const std::string& result) const
{
    Write(message, size, "result=" + result);
}

void MessageLog::Write(const std::string& message, std::size_t size, const std::string& rest) const
{
    if (!enabled) {
        return;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::string line = "message-id=" + (identified.empty() ? MessageId(message) : identified) + " size=" + std::to_string(size) + " " + rest +
                       " ms=" + std::to_string(elapsed.count());
    syslog(LOG_INFO, "%s", line.c_str());
}
