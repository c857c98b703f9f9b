#ifndef TAGSTRIP_ANALYSIS_FILTER_ENGINE_H
#define TAGSTRIP_ANALYSIS_FILTER_ENGINE_H

#include <cstdint>
#include <string>
#include <string_view>

#include "common/category.h"
#include "common/output_buffer.h"
#include "html/token.h"
#include "tagstrip/host_api.h"

// The state of the analysis of one message: what to remove, what was found, the tag
// rules' two flags and the buffer that receives what stays. Lives on the stack of one
// Analyze call.
//
// Its operations are defined beside the stage they serve: construction, Process and
// Report with the analysis driver, OnToken and the tag rules with the HTML filter,
// WriteHeaderBlock and WriteBody with the MIME part handler.
class FilterEngine : public TokenSink {
public:
    FilterEngine();

    bool Process(CString& messageText, std::int32_t* score, CString* findings);
    bool Report(std::int32_t* score, CString* findings);

    void OnToken(const Token& token) override;

    void WriteHeaderBlock(std::string_view block);
    void WriteBody(std::string_view body, bool isHtml);

    bool remove[CategoryCount];
    bool found[CategoryCount];
    bool suppressContent;
    bool insideStyle;
    OutputBuffer* output;

private:
    void FilterTag(const Token& token);
    void FilterStyleTag(const Token& token, bool removing);
    void FilterLink(const Token& token);
    void FilterImage(const Token& token);
    void FilterMeta(const Token& token);
    void FilterStyleSheetLink(const Token& token);
    void FilterContent(const Token& token);
};

// The HTML test and the analysis behind the Analyze entry point: true when the
// message text was replaced.
bool AnalyzeMessage(AnalysisRecord& record);

#endif
