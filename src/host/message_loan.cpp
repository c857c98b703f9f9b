#include "host/message_loan.h"

#include "host/message_text.h"

MessageLoan::MessageLoan(std::string& message, MessageAfterwards afterwards, bool crlf, bool givesBack)
    : message(message), crlf(crlf)
{
    if (!Lendable(afterwards, givesBack)) {
        return;
    }
    givenBack = afterwards == MessageAfterwards::NeededUnlessRewritten;
    if (givenBack) {
        room.reserve(message.size());
    }
    std::string().swap(message);
    lent = true;
}

bool MessageLoan::Lendable(MessageAfterwards afterwards, bool givesBack) const
{
    if (message.size() < kSmallestLent) {
        return false;
    }
    switch (afterwards) {
    case MessageAfterwards::Needed:
        return false;
    case MessageAfterwards::NeededUnlessRewritten:
        return givesBack;
    case MessageAfterwards::NotNeeded:
        return true;
    }
    return false;
}

void MessageLoan::Settle(const CString& analyzersText, bool rewritten)
{
    if (givenBack && !rewritten) {
        AppendInLineEndsOf(crlf, analyzersText, room);
        message.swap(room);
    }
    std::string().swap(room);
    givenBack = false;
}
