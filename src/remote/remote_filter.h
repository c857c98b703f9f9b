#ifndef TAGSTRIP_REMOTE_REMOTE_FILTER_H
#define TAGSTRIP_REMOTE_REMOTE_FILTER_H

#include <string>
#include <string_view>
#include <vector>

#include "common/output_buffer.h"
#include "common/remote_category.h"
#include "html/token.h"
#include "remote/tracker_list.h"

// The rules of the remote-content analyzer over the tokens of one message's HTML parts.
// Text, whitespace, comments and every tag it does not change are written exactly as
// they came; a changed tag is written in the normalised form; a removed image leaves its
// alternative text. Nothing a reader sees as text is dropped.
class RemoteFilter : public TokenSink {
public:
    RemoteFilter(const TrackerList& trackers, int flags);

    void SetRecipients(std::vector<std::string> addresses) { recipients = std::move(addresses); }
    void SetOutput(OutputBuffer* out) { output = out; }
    void OnToken(const Token& token) override;
    // Writes what a style element still holds at the end of a part.
    void FinishPart();

    bool found[RemoteCategoryCount] = {};
    bool remove[RemoteCategoryCount] = {};

private:
    void FilterTag(std::string_view token);
    void FilterElement(const Tag& parsed, std::string_view textBefore, std::string_view raw);
    void FilterStyleSheet();
    RemoteCategory CategoryOfLoad(const std::vector<std::string>& addresses, bool hiddenImage) const;
    bool Charge(RemoteCategory category);

    const TrackerList& trackers;
    std::vector<std::string> recipients;
    OutputBuffer* output = nullptr;
    bool inStyle = false;
    std::string styleSheet;
};

#endif
