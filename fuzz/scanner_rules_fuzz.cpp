// The tag scanner and the tag rules on arbitrary HTML, under remove switches taken from
// the first byte. Checks that the tokens add up to the input (but for a trailing
// whitespace run), and that with every switch off the rewritten form is stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "analysis/filter_engine.h"
#include "common/string_helpers.h"
#include "html/tag_scanner.h"

namespace {

// Records each token's text on its way to the engine.
class RecordingSink : public TokenSink {
public:
    explicit RecordingSink(FilterEngine& engine) : engine(engine) {}

    void OnToken(const Token& token) override
    {
        texts += token.text;
        engine.OnToken(token);
    }

    FilterEngine& engine;
    std::string texts;
};

std::string WithoutTrailingSpace(std::string text)
{
    while (!text.empty() && IsHtmlSpace(text.back())) {
        text.pop_back();
    }
    return text;
}

std::string Filter(const std::string& html, int flags, std::string* tokenTexts)
{
    FilterEngine engine;
    for (int category = 0; category < CategoryCount; ++category) {
        engine.remove[category] = (flags & kCategories[category].flagsBit) != 0;
    }
    std::ostringstream output;
    engine.output = &output;
    RecordingSink recorder(engine);
    std::istringstream input(html);
    TagScanner().Run(input, &recorder);
    if (tokenTexts != nullptr) {
        *tokenTexts = recorder.texts;
    }
    return output.str();
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
    const std::string once = Filter(html, flags, &tokenTexts);
    if (WithoutTrailingSpace(tokenTexts) != WithoutTrailingSpace(html)) {
        std::abort();
    }
    if (flags == 0 && Filter(once, 0, nullptr) != once) {
        std::abort();
    }
    return 0;
}
