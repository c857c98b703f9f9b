#ifndef TAGSTRIP_MILTER_INCOMING_MESSAGE_H
#define TAGSTRIP_MILTER_INCOMING_MESSAGE_H

#include <cstddef>
#include <string>
#include <vector>

// One message as the MTA hands it over, put back together in CRLF line ends: each header
// field as received, the empty line, the body chunks. Stops collecting once the text
// would grow past the size limit.
class IncomingMessage {
public:
    explicit IncomingMessage(std::size_t sizeLimit) : sizeLimit(sizeLimit) {}

    // value as the MTA sent it: with its leading blanks when leadingSpaces (otherwise one
    // blank is put back after the colon), folds as LF or CRLF.
    void AddHeader(const char* name, const char* value, bool leadingSpaces);
    void EndHeader();
    void AddBody(const char* chunk, std::size_t length);

    // Whether a field of that name (any letter case) came with the message.
    bool HasField(const char* name) const;
    bool OverLimit() const { return overLimit; }
    // Bytes received so far, also those past the limit that were not kept.
    std::size_t Size() const { return size; }
    const std::string& Text() const { return text; }

private:
    void Append(const char* bytes, std::size_t length);

    std::size_t sizeLimit;
    std::size_t size = 0;
    bool overLimit = false;
    bool headerEnded = false;
    std::vector<std::string> names;
    std::string text;
};

#endif
