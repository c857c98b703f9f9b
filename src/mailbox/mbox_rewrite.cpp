#include "mailbox/mbox_rewrite.h"

#include "host/message_text.h"

std::string QuotedForMbox(const std::string& message)
{
    std::string quoted;
    quoted.reserve(message.size() + 16);
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        end = end == std::string::npos ? message.size() : end + 1;
        if (message.compare(start, 5, "From ") == 0) {
            quoted += '>';
        }
        quoted.append(message, start, end - start);
        start = end;
    }
    if (!quoted.empty() && quoted.back() != '\n') {
        quoted += LineEndOf(message);
    }
    return quoted;
}

bool MboxRewrite::Begin(const std::string& mboxPath, std::string& error)
{
    return lock.Acquire(mboxPath, error) && staged.Create(mboxPath, "", error);
}

void MboxRewrite::Write(const MboxMessage& message, const MessageAnalysis& analysis)
{
    changed |= analysis.rewritten;
    written = written && staged.Write(message.fromLine) &&
              staged.Write(analysis.rewritten ? QuotedForMbox(analysis.rewrittenText) : message.text) &&
              staged.Write(message.separator);
}

bool MboxRewrite::Commit(std::string& error)
{
    if (!written) {
        error = "cannot write the new mailbox; the old one is left as it was";
        return false;
    }
    return !changed || staged.Commit("", error);
}
