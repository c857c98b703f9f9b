#include "tests/support/hostile_messages.h"

#include <random>

const char kHostileSentinel[] = "END-OF-HOSTILE-MESSAGE";

namespace {

const std::string kHtmlHeader = "From: sender@example.com\r\nSubject: hostile\r\nContent-Type: text/html\r\n\r\n";

std::string Finished(std::string message)
{
    return message.append(" ").append(kHostileSentinel).append("\r\n");
}

std::string Repeated(const std::string& unit, std::size_t bytes, const char* separator)
{
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes) {
        text.append(unit).append(separator);
    }
    return text;
}

const std::string kNewsletterLine =
    "<tr><td><a href=\"http://example.com/item?id=7\" target=_blank><img src=\"http://img.example.net/p.gif?u=42\" "
    "alt=\"offer\"></a><font color=red>Deal of the day</font></td></tr>";

std::string HugeMessage(std::size_t bytes)
{
    return Finished(kHtmlHeader + Repeated(kNewsletterLine, bytes, "\r\n"));
}

std::string OneLongLine(std::size_t bytes)
{
    return Finished(kHtmlHeader + Repeated(kNewsletterLine, bytes, ""));
}

std::string ManyLines(std::size_t lines)
{
    return Finished(kHtmlHeader + Repeated("<p>x", lines * 6, "\n"));
}

std::string DeepNesting(std::size_t depth)
{
    std::string message = "Content-Type: multipart/mixed; boundary=\"B0\"\r\n\r\n";
    for (std::size_t level = 0; level < depth; ++level) {
        const std::string inner = "B" + std::to_string(level + 1);
        message += "--B" + std::to_string(level) + "\r\nContent-Type: multipart/mixed; boundary=\"" + inner
            + "\"\r\n\r\n";
    }
    message += "--B" + std::to_string(depth) + "\r\nContent-Type: text/html\r\n\r\n<script>deep()</script>\r\n";
    for (std::size_t level = depth + 1; level-- > 0;) {
        message += "--B" + std::to_string(level) + "--\r\n";
    }
    return Finished(message);
}

std::string UnclosedTag(std::size_t bytes)
{
    return Finished(kHtmlHeader + "<a href=\"" + Repeated("x", bytes, " y=\""));
}

std::string ManyAttributes(std::size_t count)
{
    std::string tag = "<img src=\"http://example.com/a.gif?x\"";
    for (std::size_t index = 0; index < count; ++index) {
        tag += " a" + std::to_string(index) + "=\"" + std::to_string(index) + "\"";
    }
    return Finished(kHtmlHeader + tag + ">");
}

std::string BoundaryInsideLines(std::size_t lines)
{
    std::string message = "Content-Type: multipart/alternative; boundary=\"XYZ\"\r\n\r\n";
    for (std::size_t index = 0; index < lines; ++index) {
        message += "text --XYZ in the middle --XYZ-- and <b>--XYZ</b>\r\n --XYZ\r\n--XYZ \r\n--xyz\r\n";
    }
    message += "--XYZ\r\nContent-Type: text/html\r\n\r\n<p>--XYZ-- inside</p>\r\n--XYZ--\r\n";
    return Finished(message);
}

std::string NulAndHighBytes(std::size_t bytes)
{
    std::mt19937 random(1234);
    std::string message = "Content-Type: text/html\r\n\r\n";
    const char alphabet[] = {'<', '>', '/', '"', '\'', '=', '\0', '\r', '\n', ' ', '-', '!', 'a', 's'};
    for (std::size_t index = 0; index < bytes; ++index) {
        const unsigned pick = random() % 32;
        message += pick < sizeof(alphabet) ? alphabet[pick] : static_cast<char>(0x80 + random() % 128);
    }
    return Finished(message);
}

std::string OnlyCarriageReturn(std::size_t)
{
    return "\r";
}

}  // namespace

const std::vector<HostileMessage>& HostileMessages()
{
    static const std::vector<HostileMessage> messages = {
        {"huge", HugeMessage, 100u << 20},
        {"one_long_line", OneLongLine, 50u << 20},
        {"million_lines", ManyLines, 1000000},
        {"nested_10000_deep", DeepNesting, 10000},
        {"unclosed_tag", UnclosedTag, 10u << 20},
        {"many_attributes", ManyAttributes, 100000},
        {"boundary_inside_lines", BoundaryInsideLines, 100000},
        {"nul_and_high_bytes", NulAndHighBytes, 1u << 20},
        {"only_cr", OnlyCarriageReturn, 1},
    };
    return messages;
}
