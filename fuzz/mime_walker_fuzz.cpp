// The MIME walker on arbitrary messages: whatever it hands on, joined in order, must be
// the input with every line end made "\r\n". Then the whole part handler runs over the
// same message under remove switches from the first byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "mime/filter_part_handler.h"
#include "mime/mime_walker.h"
#include "tests/support/filter_run.h"

namespace {

class JoiningHandler : public PartHandler {
public:
    void Receive(std::string_view text, bool) override { joined += text; }

    std::string joined;
};

std::string WithCrLfLineEnds(const std::string& message)
{
    std::string normalised;
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        const bool lastLine = end == std::string::npos;
        if (lastLine) {
            end = message.size();
        }
        std::size_t length = end - start;
        if (length > 0 && message[start + length - 1] == '\r') {
            --length;
        }
        normalised.append(message, start, length).append("\r\n");
        start = end + 1;
    }
    return normalised;
}

// One handler serves every input, as one serves every part of a message: its body
// buffer is reserved once and reused.
FilterPartHandler& SharedHandler()
{
    static FilterPartHandler handler(nullptr);
    return handler;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string message(reinterpret_cast<const char*>(data) + 1, size - 1);

    JoiningHandler joiner;
    MimeWalker().Walk(message, &joiner);
    if (joiner.joined != WithCrLfLineEnds(message)) {
        std::abort();
    }
    FilterMessage(message, data[0], &SharedHandler());
    return 0;
}
