#include "mime/filter_part_handler.h"

#include "analysis/filter_engine.h"
#include "common/find_no_case.h"
#include "mime/line_ends.h"
#include "mime/mime_walker.h"

namespace {

// One buffer for every part of a message; HTML parts of a few megabytes are common.
constexpr std::size_t kBodyCapacity = 3000000;

}  // namespace

FilterPartHandler::FilterPartHandler(FilterEngine* engine) : engine(engine), isHtml(false)
{
    body.reserve(kBodyCapacity);
}

FilterPartHandler::~FilterPartHandler() = default;

// A header block ends the part before it, whose body is written with that part's kind.
void FilterPartHandler::Receive(std::string_view text, bool isHeaderBlock)
{
    if (!isHeaderBlock) {
        body += text;
        return;
    }
    Finish();
    std::string contentType;
    GetHeaderValue(text, "Content-Type:", contentType);
    isHtml = FindNoCase(contentType.c_str(), "text/html") != nullptr;
    engine->WriteHeaderBlock(text);
}

void FilterPartHandler::ReceiveBodyLines(std::string_view rawLines)
{
    AppendWithCrLfLineEnds(body, rawLines);
}

// clear() keeps the buffer's capacity for the next part.
void FilterPartHandler::Finish()
{
    if (body.empty()) {
        return;
    }
    engine->WriteBody(body, isHtml);
    body.clear();
}
