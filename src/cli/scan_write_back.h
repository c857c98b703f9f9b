#ifndef TAGSTRIP_CLI_SCAN_WRITE_BACK_H
#define TAGSTRIP_CLI_SCAN_WRITE_BACK_H

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "mailbox/mailbox_lock.h"
#include "mailbox/mbox_rewrite.h"
#include "mailbox/scan_items.h"

// What `scan --rewrite` writes back and how: --backup, --lock-wait, the removal of what
// killed runs left behind, and the lines that say what was written where.
class ScanWriteBack {
public:
    explicit ScanWriteBack(const ParsedCommandLine& commandLine);

    // Removes staged files of runs that are gone, and old files in Maildir tmp/ folders.
    void RemoveLeftovers(const std::vector<ScanItem>& items) const;
    LockWait Wait() const;
    bool MessageFile(const ScanItem& item, const std::string& text, std::string& error);
    bool Mbox(const ScanItem& item, MboxRewrite& rewrite, std::string& error);
    void Report(std::ostream& out) const;

private:
    bool backup;
    int lockSeconds;
    std::vector<std::string> written;
    int writtenFiles = 0;
};

#endif
