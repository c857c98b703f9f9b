#ifndef TAGSTRIP_REFERENCE_TOKEN_H
#define TAGSTRIP_REFERENCE_TOKEN_H

#include <cstdint>
#include <ostream>
#include <string>

#include "fuzz/reference/tag.h"

namespace reference {

enum TokenKind : std::int32_t {
    KindTag = 1,      // a tag or comment, "<" to ">" inclusive
    KindText = 2,     // one word outside tags
    KindContent = 3,  // the raw content of a script or style element
    KindSpace = 4     // a run of whitespace outside tags
};

struct Token {
    TokenKind kind;
    std::string text;
    Tag tag;
};

// Receives the scanner's tokens in input order; a token lives only for the call.
class TokenSink {
public:
    virtual void OnToken(const Token& token) = 0;

protected:
    ~TokenSink() = default;
};

// Writes a tag token as its tag, any other token as its text.
std::ostream& operator<<(std::ostream& out, const Token& token);

}  // namespace reference

#endif
