#ifndef TAGSTRIP_MAILBOX_MBOX_REWRITE_H
#define TAGSTRIP_MAILBOX_MBOX_REWRITE_H

#include <string>

#include "mailbox/file_io.h"
#include "host/host_session.h"
#include "mailbox/mailbox_lock.h"
#include "mailbox/mbox_reader.h"

// Writes a whole new mbox beside the old one, message by message, and renames it over
// the old one under the mailbox lock: a crash leaves either mailbox, never a mix. Messages
// that were not rewritten are copied byte for byte; when none was, the old mailbox stays.
class MboxRewrite {
public:
    bool Begin(const std::string& mboxPath, std::string& error);
    void Write(const MboxMessage& message, const MessageAnalysis& analysis);
    bool Commit(std::string& error);

private:
    MailboxLock lock;
    StagedFile staged;
    bool changed = false;
    bool written = true;
};

// Quotes every line of a rewritten message that starts with "From " as ">From ", and
// ends the last line, so that the text cannot open a message of its own in the mailbox.
std::string QuotedForMbox(const std::string& message);

#endif
