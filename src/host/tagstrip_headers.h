#ifndef TAGSTRIP_HOST_TAGSTRIP_HEADERS_H
#define TAGSTRIP_HOST_TAGSTRIP_HEADERS_H

#include <string>
#include <vector>

#include "host/host_session.h"

// One header field. value holds exactly the bytes after the colon, its leading space
// included; a value that goes on over several lines holds "\n\t" at each fold.
struct HeaderField {
    std::string name;
    std::string value;
};

// The fields every front end puts at the top of a message it passes on:
//   analysed: X-Tagstrip-Score and X-Tagstrip-Findings (each findings line starting a
//             line of its own, folded within the line limit; an empty value when
//             nothing was found);
//   skipped:  X-Tagstrip-Skipped with the reason's word, so no scorer takes it for clean.
std::vector<HeaderField> TagstripHeaderFields(const MessageAnalysis& analysis);

// The fields as header text, each fold and each field ending in lineEnd.
std::string FormatHeaderFields(const std::vector<HeaderField>& fields, const char* lineEnd);

// Whether a header field name is one of ours (X-Tagstrip-*, in any letter case), which
// a sender must not be able to forge.
bool IsTagstripHeaderName(const std::string& name);

// Removes every X-Tagstrip-* field, with its continuation lines, from the header of
// message (everything before the first empty line). Returns how many it removed.
int RemoveTagstripHeaderFields(std::string& message);

#endif
