#ifndef TAGSTRIP_HTML_TOKEN_WRITER_H
#define TAGSTRIP_HTML_TOKEN_WRITER_H

#include <string_view>

#include "common/output_buffer.h"
#include "html/tag.h"
#include "html/token.h"

// Writes a tag in the normalised form: "<name attr="value" flag>"; a comment whose opener
// is followed by whitespace is written as it stood.
void WriteTag(OutputBuffer& out, const Tag& tag);

// Writes a tag token as its tag, any other token as its text.
void WriteToken(OutputBuffer& out, const Token& token);

// Writes a value between double quotes, each double quote inside it as "&quot;".
void WriteQuotedValue(OutputBuffer& out, std::string_view value);

#endif
