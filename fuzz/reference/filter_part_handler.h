#ifndef TAGSTRIP_REFERENCE_FILTER_PART_HANDLER_H
#define TAGSTRIP_REFERENCE_FILTER_PART_HANDLER_H

#include <string>

#include "fuzz/reference/part_handler.h"

namespace reference {

class FilterEngine;

// Writes header blocks at once, collects each part's body and writes it when the part
// ends: an HTML body through the tag scanner and the engine's rules, any other unchanged.
class FilterPartHandler : public PartHandler {
public:
    explicit FilterPartHandler(FilterEngine* engine);
    ~FilterPartHandler() override;
    void Receive(const std::string& text, bool isHeaderBlock) override;
    void Finish();

    FilterEngine* engine;
    std::string body;
    bool isHtml;
};

}  // namespace reference

#endif
