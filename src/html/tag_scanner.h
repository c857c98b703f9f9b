#ifndef TAGSTRIP_HTML_TAG_SCANNER_H
#define TAGSTRIP_HTML_TAG_SCANNER_H

#include <cstdint>
#include <istream>
#include <string>

#include "html/token.h"

enum ScannerState : std::int32_t {
    InTag = 1,
    InText = 2,
    InComment = 3,
    InContent = 4,
    InSpace = 5
};

// Cuts one HTML body into tags, comments, words, whitespace runs and script or style
// content, and hands each token to a sink. One scanner per body, run once.
class TagScanner {
public:
    void Run(std::istream& in, TokenSink* sink);

    std::int32_t state = InSpace;
    TokenSink* sink = nullptr;

private:
    void Step(char character);
    void StepInSpace(char character);
    void StepInText(char character);
    void StepInTag(char character);
    void StepInComment(char character);
    void StepInContent(char character);
    void StartToken(char character);
    void DeliverHeld();
    void Deliver(TokenKind kind);
    void DeliverTag();

    // The token being collected. Its text is the scanner's buffer, so that delivering a
    // token copies nothing and the buffer keeps its capacity from one token to the next.
    Token token{KindText, std::string(), Tag()};
};

#endif
