#ifndef TAGSTRIP_MIME_LINE_ENDS_H
#define TAGSTRIP_MIME_LINE_ENDS_H

#include <string>
#include <string_view>

// Appends whole lines with "\r\n" as every line end, as the walker hands lines on: a line
// feed alone becomes "\r\n", one that follows a carriage return stays, and a last line
// without a line feed loses one carriage return at its end and gets "\r\n". Stretches of
// lines that already end in "\r\n" are copied in one piece.
void AppendWithCrLfLineEnds(std::string& out, std::string_view rawLines);

#endif
