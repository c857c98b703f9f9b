// The tag scanner and the tag rules on arbitrary HTML, under remove switches taken from
// the first byte. Checks that the tokens add up to the input but for a trailing
// whitespace run, and that all text outside tags survives the rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "analysis/filter_engine.h"
#include "common/string_helpers.h"
#include "html/tag_scanner.h"
#include "tests/support/filter_run.h"

namespace {

// Records each token's text on its way to the engine.
class RecordingSink : public TokenSink {
public:
    explicit RecordingSink(FilterEngine& engine) : engine(engine) {}

    void OnToken(const Token& token) override
    {
        texts += token.text;
        if (token.kind == KindText) {
            words += token.text;
        }
        engine.OnToken(token);
    }

    FilterEngine& engine;
    std::string texts;
    std::string words;
};

std::string WithoutTrailingSpace(std::string text)
{
    while (!text.empty() && IsHtmlSpace(text.back())) {
        text.pop_back();
    }
    return text;
}

// Whether the characters of needle occur in text in the same order.
bool ContainsInOrder(const std::string& text, const std::string& needle)
{
    std::size_t at = 0;
    for (const char character : needle) {
        at = text.find(character, at);
        if (at == std::string::npos) {
            return false;
        }
        ++at;
    }
    return true;
}

std::string Filter(const std::string& html, int flags, std::string& tokenTexts, std::string& words)
{
    FilterEngine engine;
    SetRemoveSwitches(engine, flags);
    OutputBuffer output;
    engine.output = &output;
    RecordingSink recorder(engine);
    TagScanner().Run(html, &recorder);
    tokenTexts = recorder.texts;
    words = recorder.words;
    return std::string(output.Text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int flags = data[0];
    const std::string html(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string tokenTexts;
    std::string words;
    const std::string output = Filter(html, flags, tokenTexts, words);
    if (WithoutTrailingSpace(tokenTexts) != WithoutTrailingSpace(html)) {
        std::abort();
    }
    if (!ContainsInOrder(output, words)) {
        std::abort();
    }
    return 0;
}
