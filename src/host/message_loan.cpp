#include "host/message_loan.h"

#include "host/message_text.h"

MessageLoan::MessageLoan(std::string& message, MessageAfterwards afterwards, bool crlf)
    : message(message), crlf(crlf)
{
    if (!Lendable(afterwards)) {
        return;
    }
    givenBack = afterwards == MessageAfterwards::NeededUnlessRewritten;
    if (givenBack) {
        room.reserve(message.size());
    }
    std::string().swap(message);
    lent = true;
}

bool MessageLoan::Lendable(MessageAfterwards afterwards) const
{
    if (message.size() < kSmallestLent) {
        return false;
    }
    switch (afterwards) {
    case MessageAfterwards::Needed:
        return false;
    case MessageAfterwards::NeededUnlessRewritten:
        return AnalyzersTextGivesBack(message, crlf);
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
