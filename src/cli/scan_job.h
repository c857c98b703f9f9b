#ifndef TAGSTRIP_CLI_SCAN_JOB_H
#define TAGSTRIP_CLI_SCAN_JOB_H

#include <cstdint>
#include <string>

#include "host/host_session.h"
#include "mailbox/mbox_reader.h"
#include "mailbox/scan_items.h"

// One message of a scan on its way from the reader, through the analysis (on any
// thread), back to the thread that reports it and writes it back.
struct ScanJob {
    std::string source;
    int index = 0;                       // the message's number in its mbox; 0 for a message file
    const ScanItem* file = nullptr;      // the message file, or null for a message of an mbox
    MboxMessage message;                 // of a message file only the text
    std::uint64_t mboxBytesRead = 0;     // how far the mbox reader had read after this message
    std::uint64_t length = 0;            // of the message as read, From_ line and separator included
    std::string readError;               // the file could not be read: nothing to analyse

    MessageAnalysis analysis;
    bool foundOnlyDecoded = false;

    static ScanJob ForFile(const ScanItem& item);
    static ScanJob ForMboxMessage(const std::string& path, int index, MboxMessage message,
                                  std::uint64_t bytesRead);

    // Analyses the message; safe to run on several threads with one session. Its text
    // may be gone afterwards where afterwards says it is not needed; length stays.
    void Analyze(const HostSession& session, MessageAfterwards afterwards);
    // What the message weighs in the queue between reader and analysis.
    std::size_t Bytes() const;
    // "path" for a message file, "path, message N" for a message of an mbox.
    std::string Where() const;
};

#endif
