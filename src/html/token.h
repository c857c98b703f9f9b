#ifndef TAGSTRIP_HTML_TOKEN_H
#define TAGSTRIP_HTML_TOKEN_H

#include <cstdint>
#include <string_view>

#include "html/tag.h"

enum TokenKind : std::int32_t {
    KindTag = 1,      // a tag or comment, "<" to ">" inclusive
    KindText = 2,     // text outside tags: words and whitespace up to the next "<"
    KindContent = 3   // the raw content of a script or style element
};

// A token's text points into the HTML being scanned; it lives only for the delivery.
struct Token {
    TokenKind kind;
    std::string_view text;
    Tag tag;
};

// Receives the scanner's tokens in input order; a token lives only for the call.
class TokenSink {
public:
    virtual void OnToken(const Token& token) = 0;

protected:
    ~TokenSink() = default;
};

#endif
