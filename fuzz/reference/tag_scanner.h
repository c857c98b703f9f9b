#ifndef TAGSTRIP_REFERENCE_TAG_SCANNER_H
#define TAGSTRIP_REFERENCE_TAG_SCANNER_H

#include <cstdint>
#include <istream>
#include <string>

#include "fuzz/reference/token.h"

namespace reference {

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
    const char* Step(const char* at, const char* end);
    const char* StepInSpace(const char* at, const char* end);
    const char* StepInText(const char* at, const char* end);
    const char* StepInTag(const char* at, const char* end);
    const char* StepInComment(const char* at, const char* end);
    const char* StepInContent(const char* at, const char* end);
    const char* StartToken(const char* at);
    const char* Collect(const char* from, const char* to);
    const char* CollectThrough(const char* at, const char* end, char stop);
    const char* CollectTagThrough(const char* at, const char* end, const char* closer);
    void DeliverHeld();
    void Deliver(TokenKind kind);
    void DeliverTag();

    // The token being collected. Its text is the scanner's buffer, so that delivering a
    // token copies nothing and the buffer keeps its capacity from one token to the next.
    Token token{KindText, std::string(), Tag()};
};

}  // namespace reference

#endif
