#include "tests/support/pass_through_rewrite.h"

#include <string_view>

#include "common/find_no_case.h"
#include "mime/mime_walker.h"

namespace {

class PassThrough : public PartHandler {
public:
    void Receive(std::string_view text, bool isHeaderBlock) override
    {
        if (!isHeaderBlock) {
            body += text;
            return;
        }
        Finish();
        std::string contentType;
        GetHeaderValue(text, "Content-Type:", contentType);
        isHtml = FindNoCase(contentType.c_str(), "text/html") != nullptr;
        output += text;
    }

    void Finish()
    {
        if (isHtml && !body.empty()) {
            body.erase(body.find_last_not_of(" \t\r\n") + 1);
            body += "\r\n\r\n";
        }
        output += body;
        body.clear();
    }

    std::string output;

private:
    std::string body;
    bool isHtml = false;
};

}  // namespace

std::string PassThroughRewrite(const std::string& message)
{
    PassThrough handler;
    MimeWalker().Walk(message, &handler);
    handler.Finish();
    return handler.output;
}
