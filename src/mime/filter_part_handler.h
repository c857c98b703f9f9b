#ifndef TAGSTRIP_MIME_FILTER_PART_HANDLER_H
#define TAGSTRIP_MIME_FILTER_PART_HANDLER_H

#include "mime/part_body.h"
#include "mime/part_handler.h"

class FilterEngine;

// Writes header blocks at once, collects each part's body and writes it when the part
// ends: an HTML body through the tag scanner and the engine's rules, any other unchanged.
class FilterPartHandler : public PartHandler {
public:
    explicit FilterPartHandler(FilterEngine* engine);
    ~FilterPartHandler() override;
    void Receive(std::string_view text, bool isHeaderBlock) override;
    void ReceiveBodyLines(std::string_view rawLines) override;
    void Finish();

    FilterEngine* engine;
    PartBody body;
    bool isHtml;
};

#endif
