#ifndef TAGSTRIP_COMMON_FINDINGS_LINE_H
#define TAGSTRIP_COMMON_FINDINGS_LINE_H

#include <cstddef>

// Writes the findings line that the format "%8d %s - '%s'\n" gives for number,
// analyzerName and text into line, which has room for room bytes with the closing NUL;
// a longer line is cut short, as snprintf cuts it. Every message with findings writes a
// few of these, so the format is not parsed each time.
void FormatFindingsLine(char* line, std::size_t room, int number, const char* analyzerName, const char* text);

#endif
