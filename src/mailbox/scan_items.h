#ifndef TAGSTRIP_MAILBOX_SCAN_ITEMS_H
#define TAGSTRIP_MAILBOX_SCAN_ITEMS_H

#include <cstdint>
#include <string>
#include <vector>

// What scan reads: single message files and mboxes.
struct ScanItem {
    enum Kind { MessageFile, Mbox };
    Kind kind;
    std::string path;
    std::string stagingDirectory;  // where a rewritten message is written first; empty: beside it
    std::uint64_t size;
    std::string backupPath;  // where a backup of the original goes: "<mbox>.orig" for an mbox
                             // argument, the same name under "<directory>.orig/" otherwise
};

// Expands one scan argument, in name order:
// - a regular file is an mbox;
// - a directory with cur/ and new/ is a Maildir: every file in cur/ and new/ is a message,
//   and rewritten messages are staged in its tmp/;
// - any other directory: every regular file in it is a message, except *.mbox files,
//   which are mboxes. Hidden files and subdirectories are left out.
// On failure error says what is wrong with path.
// Staging directories, for removing what killed runs left there, are the Maildir's tmp/
// and the message directories themselves.
bool ListScanItems(const std::string& path, std::vector<ScanItem>& items, std::string& error);

#endif
