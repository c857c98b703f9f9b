#ifndef TAGSTRIP_MILTER_MESSAGE_EDITS_H
#define TAGSTRIP_MILTER_MESSAGE_EDITS_H

#include <string>
#include <vector>

#include "host/tagstrip_headers.h"

// One change to an existing field: the index-th field of that name (from 1, any letter
// case), given a new value or deleted.
struct HeaderChange {
    std::string name;
    int index = 0;
    bool deleted = false;
    std::string value;
};

// What turns the message the MTA holds into the filtered one, in the order the MTA must
// apply it: the changes (deletions from the last occurrence of a name backwards, so that
// every index still names the field it was computed for), then the new fields, each to
// be inserted at the very top, last one first.
struct MessageEdits {
    bool expressible = true;  // false when the filtered header cannot be reached this way
    std::vector<HeaderChange> changes;
    std::vector<HeaderField> insertAtTop;  // in the order they must be inserted
    bool replaceBody = false;
    std::string body;  // the new body, in CRLF line ends
};

// Both messages in CRLF line ends, each with an empty line after its header.
MessageEdits EditsBetween(const std::string& original, const std::string& filtered);

// The fields of a header block in CRLF line ends (without its empty line), each value as
// the milter protocol carries it: folds as a line feed alone, since an MTA keeps a
// carriage return inside a value. A continuation
// line before any field makes the block unusable: false.
bool ParseHeaderFields(const std::string& block, std::vector<HeaderField>& fields);

#endif
