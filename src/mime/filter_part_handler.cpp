#include "mime/filter_part_handler.h"

#include "analysis/filter_engine.h"
#include "common/find_no_case.h"
#include "mime/mime_walker.h"

FilterPartHandler::FilterPartHandler(FilterEngine* engine) : engine(engine), isHtml(false) {}

FilterPartHandler::~FilterPartHandler() = default;

// A header block ends the part before it, whose body is written with that part's kind.
void FilterPartHandler::Receive(std::string_view text, bool isHeaderBlock)
{
    if (!isHeaderBlock) {
        body.Append(text);
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
    body.AppendLines(rawLines);
}

void FilterPartHandler::Finish()
{
    if (body.Empty()) {
        return;
    }
    engine->WriteBody(body.Text(), isHtml);
    body.Clear();
}
