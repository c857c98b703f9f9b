// The Remote analyzer's filter on arbitrary HTML through the shared scanner. With every
// switch off it writes the body exactly as it came; with every switch on, what it writes
// holds nothing more to remove: a second pass finds nothing, so removing never makes a
// new load out of what was left.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/string_helpers.h"
#include "html/tag_scanner.h"
#include "remote/remote_filter.h"

namespace {

const TrackerList& ShippedTrackers()
{
    static const TrackerList list = [] {
        TrackerList built;
        std::vector<std::string> problems;
        built.AddTable(kBuiltInTrackers, "built-in", problems);
        built.Compile();
        return built;
    }();
    return list;
}

struct Pass {
    std::string html;
    bool foundAny = false;
};

Pass Filter(const std::string& body, int flags)
{
    RemoteFilter filter(ShippedTrackers(), flags);
    filter.SetRecipients({"ann@example.org"});
    OutputBuffer out;
    filter.SetOutput(&out);
    std::string scanned = body;
    while (!scanned.empty() && IsHtmlSpace(scanned.back())) {
        scanned.pop_back();
    }
    TagScanner().Run(scanned, &filter);
    filter.FinishPart();
    Pass pass{std::string(out.Text()), false};
    for (bool found : filter.found) {
        pass.foundAny |= found;
    }
    return pass;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string body(reinterpret_cast<const char*>(data), size);
    std::string trimmed = body;
    while (!trimmed.empty() && IsHtmlSpace(trimmed.back())) {
        trimmed.pop_back();
    }
    if (Filter(body, 0).html != trimmed) {
        std::abort();
    }
    const Pass first = Filter(body, 0x0F);
    if (Filter(first.html, 0x0F).foundAny) {
        std::abort();
    }
    return 0;
}
