#ifndef TAGSTRIP_HOST_MESSAGE_LOAN_H
#define TAGSTRIP_HOST_MESSAGE_LOAN_H

#include <cstddef>
#include <string>

#include "tagstrip/host_api.h"

// What the holder of a message still needs of it once the analyzers are done with it.
enum class MessageAfterwards {
    Needed,                 // the message as it came
    NeededUnlessRewritten,  // the message as it came unless an analyzer rewrote it
    NotNeeded,
};

// A big message lent to the analysis: while the analyzers work on their own copy of it
// (AnalyzersText), the holder's copy is freed, so that the analysis holds two copies at
// its peak instead of three. It is given back from the analyzers' text when the holder
// needs it and the analyzers left that text alone; that is only lent which comes back
// byte for byte. The room to give it back in is reserved before the message is freed, so
// that giving it back cannot fail; reserved room costs no memory until it is written.
class MessageLoan {
public:
    // Below this size the copies cost less than the checks.
    static constexpr std::size_t kSmallestLent = 1 << 20;

    // givesBack: whether the analyzers' text gives the message back byte for byte
    // (AnalyzersText).
    MessageLoan(std::string& message, MessageAfterwards afterwards, bool crlf, bool givesBack);
    MessageLoan(const MessageLoan&) = delete;
    MessageLoan& operator=(const MessageLoan&) = delete;

    bool Lent() const { return lent; }
    // Once the analyzers are done with analyzersText: gives the message back when the
    // holder needs it, that is when nobody rewrote it unless it is not needed at all.
    void Settle(const CString& analyzersText, bool rewritten);

private:
    bool Lendable(MessageAfterwards afterwards, bool givesBack) const;

    std::string& message;
    const bool crlf;
    bool lent = false;
    bool givenBack = false;  // wanted back when not rewritten
    std::string room;
};

#endif
