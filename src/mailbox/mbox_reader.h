#ifndef TAGSTRIP_MAILBOX_MBOX_READER_H
#define TAGSTRIP_MAILBOX_MBOX_READER_H

#include <cstdint>
#include <string>
#include <string_view>

#include "mailbox/file_io.h"

// One message of an mbox, split so that writing fromLine + text + separator gives back
// exactly the bytes read.
struct MboxMessage {
    std::string fromLine;   // the "From " line that opens the message, with its line end
    std::string text;       // the message itself; ">From " quoting left as it is
    std::string separator;  // the blank line that ends the message in the mailbox, if any
};

// Streams an mbox one message at a time. A message starts at a line beginning "From "
// that is the first line of the file or follows a blank line.
class MboxReader {
public:
    // Fails for a file that cannot be read or does not start with a From_ line; an empty
    // file is an empty mailbox.
    bool Open(const std::string& path, std::string& error);
    // Reads from the start of an open descriptor that stays the caller's.
    bool Attach(int descriptor, std::string& error);
    bool Next(MboxMessage& message);
    // Not empty when reading stopped at a read error.
    const std::string& Error() const { return lines.Error(); }
    std::uint64_t BytesRead() const { return lines.BytesRead(); }

private:
    bool ReadFirstLine(std::string& error);
    void ReadText(std::string& text);
    void TakeLastLine(std::string& text, std::string_view line, bool afterBlankLine);

    LineReader lines;
    std::string pendingFromLine;
    bool hasPending = false;
};

bool IsFromLine(std::string_view line);

#endif
