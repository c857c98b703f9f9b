#ifndef TAGSTRIP_CLI_MESSAGE_SPILL_H
#define TAGSTRIP_CLI_MESSAGE_SPILL_H

#include <cstddef>
#include <string>
#include <string_view>

// A copy of a message in a file of the system's temporary directory (TMPDIR, else /tmp),
// so that the message may be freed from memory and still be had again. The file has no
// name from the start (or loses it at once where the file system cannot make it so), so
// nothing is left behind however the program ends.
class MessageSpill {
public:
    MessageSpill() = default;
    ~MessageSpill();
    MessageSpill(const MessageSpill&) = delete;
    MessageSpill& operator=(const MessageSpill&) = delete;

    // Writes text to a new file in place of any earlier one. False, and no file held,
    // when the file cannot be made or text cannot be written whole.
    bool Write(std::string_view text);
    bool Holds() const { return descriptor >= 0; }
    // Reads back what Write wrote into text, replacing what it held; false when that
    // cannot be read whole.
    bool Read(std::string& text) const;

private:
    void Close();

    int descriptor = -1;
    std::size_t size = 0;
};

#endif
