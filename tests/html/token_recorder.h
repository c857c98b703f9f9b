#ifndef TAGSTRIP_TESTS_HTML_TOKEN_RECORDER_H
#define TAGSTRIP_TESTS_HTML_TOKEN_RECORDER_H

#include <sstream>
#include <string>
#include <vector>

#include "html/tag_scanner.h"

// Keeps a copy of every token the scanner delivers.
class TokenRecorder : public TokenSink {
public:
    void OnToken(const Token& token) override { tokens.push_back(token); }

    std::vector<Token> tokens;
};

inline std::vector<Token> Scan(const std::string& html)
{
    std::istringstream input(html);
    TokenRecorder recorder;
    TagScanner().Run(input, &recorder);
    return recorder.tokens;
}

#endif
