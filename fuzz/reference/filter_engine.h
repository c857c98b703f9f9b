#ifndef TAGSTRIP_REFERENCE_FILTER_ENGINE_H
#define TAGSTRIP_REFERENCE_FILTER_ENGINE_H

#include <cstdint>
#include <ostream>
#include <string>

#include "common/category.h"
#include "fuzz/reference/token.h"

namespace reference {

// The state of the analysis of one message: what to remove, what was found, the tag
// rules' two flags and the stream that receives what stays. Lives on the stack of one
// Analyze call.
//
// Its operations are defined beside the stage they serve: construction and Report with
// the analysis driver, OnToken and the tag rules with the HTML filter,
// WriteHeaderBlock and WriteBody with the MIME part handler.
class FilterEngine : public TokenSink {
public:
    explicit FilterEngine(int flags);

    bool Report(const int (&points)[CategoryCount], std::int32_t* score, std::string* findings);

    void OnToken(const Token& token) override;

    void WriteHeaderBlock(const std::string& block);
    void WriteBody(const std::string& body, bool isHtml);

    bool remove[CategoryCount];
    bool found[CategoryCount];
    bool suppressContent;
    bool insideStyle;
    std::ostream* output;

private:
    void FilterTag(const Token& token);
    void FilterStyleTag(const Token& token, bool removing);
    void FilterLink(const Token& token);
    void FilterImage(const Token& token);
    void FilterMeta(const Token& token);
    void FilterStyleSheetLink(const Token& token);
    void FilterContent(const Token& token);
};

// What one analysis gives the host.
struct Analysis {
    int result = 0;            // 1 when the message text was replaced
    std::int32_t score = 0;    // added to a score of 0
    std::string findings;      // appended to empty findings
    std::string text;          // the message text afterwards
};

// The analysis behind the Analyze entry point, in memory, with the Flags word and the
// eight points given instead of read from an analyzer instance. message is the text
// up to its first NUL.
Analysis AnalyzeMessage(const std::string& message, int flags, const int (&points)[CategoryCount]);

}  // namespace reference

#endif
