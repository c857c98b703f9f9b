#include "host/findings_folding.h"

#include "host/findings.h"

namespace {

// Each line after the field name starts with one blank or tab, which leaves this much.
constexpr std::size_t kTextRoom = kHeaderLineLimit - 1;

char PrintableAscii(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    if (code == '\t') {
        return ' ';
    }
    return code < 0x20 || code > 0x7e ? '?' : byte;
}

std::string PrintableLine(const std::string& line)
{
    std::string printable;
    for (char byte : line) {
        printable += PrintableAscii(byte);
    }
    printable.erase(printable.find_last_not_of(' ') + 1);
    return printable;
}

void AppendFoldedLine(std::string& value, const std::string& line)
{
    value += "\n\t";
    std::size_t at = 0;
    while (line.size() - at > kTextRoom) {
        const std::size_t text = line.find_first_not_of(' ', at);
        if (text - at >= kTextRoom) {
            at = text;  // no line may hold blanks alone
            continue;
        }
        const std::size_t blank = line.rfind(' ', at + kTextRoom);
        const bool atBlank = blank != std::string::npos && blank > text;
        const std::size_t end = atBlank ? blank : at + kTextRoom;
        value.append(line, at, end - at);
        value += "\n ";
        at = atBlank ? blank + 1 : end;
    }
    value.append(line, at, std::string::npos);
}

}  // namespace

std::string FoldedFindingsValue(const std::string& findings)
{
    std::string value;
    for (const std::string& line : FindingsLines(findings)) {
        const std::string printable = PrintableLine(line);
        if (!printable.empty()) {
            AppendFoldedLine(value, printable);
        }
    }
    return value;
}
