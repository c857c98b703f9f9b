#include "mailbox/mbox_reader.h"

namespace {

bool IsBlankLine(std::string_view line)
{
    return line == "\n" || line == "\r\n";
}

// Moves the message's last line to separator when it is blank.
void SplitSeparator(MboxMessage& message)
{
    std::string& text = message.text;
    std::size_t lastLineStart = text.size() < 2 ? 0 : text.find_last_of('\n', text.size() - 2) + 1;
    if (IsBlankLine(std::string_view(text).substr(lastLineStart))) {
        message.separator = text.substr(lastLineStart);
        text.erase(lastLineStart);
    }
}

}  // namespace

bool IsFromLine(std::string_view line)
{
    return line.compare(0, 5, "From ") == 0;
}

bool MboxReader::Open(const std::string& path, std::string& error)
{
    return lines.Open(path, error) && ReadFirstLine(error);
}

bool MboxReader::Attach(int descriptor, std::string& error)
{
    lines.Attach(descriptor);
    return ReadFirstLine(error);
}

bool MboxReader::ReadFirstLine(std::string& error)
{
    hasPending = lines.ReadLine(pendingFromLine);
    if (!lines.Error().empty()) {
        error = lines.Error();
        return false;
    }
    if (hasPending && !IsFromLine(pendingFromLine)) {
        error = "not a mailbox: it does not start with a \"From \" line";
        return false;
    }
    return true;
}

bool MboxReader::Next(MboxMessage& message)
{
    if (!hasPending) {
        return false;
    }
    message.fromLine.swap(pendingFromLine);
    message.text.clear();
    message.separator.clear();
    hasPending = false;
    bool afterBlankLine = false;
    std::size_t lineStart = 0;
    while (lines.AppendLine(message.text)) {
        const std::string_view line = std::string_view(message.text).substr(lineStart);
        if (afterBlankLine && IsFromLine(line)) {
            pendingFromLine.assign(line);
            message.text.resize(lineStart);
            hasPending = true;
            break;
        }
        afterBlankLine = IsBlankLine(line);
        lineStart = message.text.size();
    }
    SplitSeparator(message);
    return true;
}
