#ifndef TAGSTRIP_HTML_TAG_SCANNER_H
#define TAGSTRIP_HTML_TAG_SCANNER_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "html/token.h"

enum ScannerState : std::int32_t {
    InText,
    InTag,
    InComment,
    InContent
};

// Cuts one HTML body into tags, comments, runs of text and script or style content, and
// hands each token to a sink. One scanner per body, run once.
class TagScanner {
public:
    void Run(std::string_view html, TokenSink* sink);

    ScannerState state = InText;
    TokenSink* sink = nullptr;

private:
    std::size_t StepInText(std::size_t at);
    std::size_t StepInTag(std::size_t at);
    std::size_t StepInComment(std::size_t at);
    std::size_t StepInContent(std::size_t at);
    bool OpensComment(std::size_t at) const;
    std::size_t DeliverTag(std::size_t from, std::size_t closer);
    std::size_t DeliverRest(std::size_t from, TokenKind kind);
    void Deliver(TokenKind kind, std::size_t from, std::size_t to);

    std::string_view html;
    // The token being delivered; its tag keeps its buffers from one tag to the next.
    Token token{KindText, std::string_view(), Tag()};
};

#endif
