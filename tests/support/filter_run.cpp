#include "tests/support/filter_run.h"

#include "analysis/filter_engine.h"
#include "mime/filter_part_handler.h"
#include "mime/mime_walker.h"

void SetRemoveSwitches(FilterEngine& engine, int flags)
{
    for (int category = 0; category < CategoryCount; ++category) {
        engine.remove[category] = (flags & kCategories[category].flagsBit) != 0;
    }
}

std::string FilterMessage(const std::string& message, int flags, FilterPartHandler* handler)
{
    if (handler == nullptr) {
        FilterPartHandler ownHandler(nullptr);
        return FilterMessage(message, flags, &ownHandler);
    }
    FilterEngine engine;
    SetRemoveSwitches(engine, flags);
    OutputBuffer output;
    engine.output = &output;
    handler->engine = &engine;
    handler->isHtml = false;
    MimeWalker().Walk(message, handler);
    handler->Finish();
    return std::string(output.Text());
}
