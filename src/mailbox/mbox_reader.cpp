#include "mailbox/mbox_reader.h"

namespace {

constexpr std::size_t kFromLength = 5;  // "From "

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
    return line.compare(0, kFromLength, "From ") == 0;
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
    ReadText(message.text);
    SplitSeparator(message);
    return true;
}

// Appends the message's lines to text a buffered stretch at a time, up to the From_ line
// that opens the next message (kept as pendingFromLine) or the end of the file. Lines are
// only looked at, not copied one by one. A line that runs past the buffered bytes goes into
// text in pieces once its first bytes show that it cannot open a message; until then it
// stays in the buffer. At a read error the line being read is dropped.
void MboxReader::ReadText(std::string& text)
{
    bool afterBlankLine = false;
    bool inLine = false;        // the current line's first bytes are already in text
    std::size_t lineStart = 0;  // where in text the current line starts, when inLine
    do {
        const std::string_view buffered = lines.Buffered();
        std::size_t scanned = 0;
        for (std::size_t lineFeed = buffered.find('\n'); lineFeed != std::string_view::npos;
             lineFeed = buffered.find('\n', scanned)) {
            const std::string_view line = buffered.substr(scanned, lineFeed + 1 - scanned);
            if (inLine) {
                inLine = false;
                afterBlankLine = false;
            } else if (afterBlankLine && IsFromLine(line)) {
                text.append(buffered.data(), scanned);
                lines.Consume(scanned);
                pendingFromLine.assign(line);
                lines.Consume(line.size());
                hasPending = true;
                return;
            } else {
                afterBlankLine = IsBlankLine(line);
            }
            scanned = lineFeed + 1;
        }
        const std::string_view rest = buffered.substr(scanned);
        const bool restIsText = inLine || (rest.size() >= kFromLength && !(afterBlankLine && IsFromLine(rest)));
        if (restIsText && !inLine) {
            inLine = true;
            afterBlankLine = false;
            lineStart = text.size() + scanned;
        }
        const std::size_t taken = restIsText ? buffered.size() : scanned;
        text.append(buffered.data(), taken);
        lines.Consume(taken);
    } while (lines.Refill());
    if (!lines.Error().empty()) {
        if (inLine) {
            lines.Unconsume(text.size() - lineStart);
            text.resize(lineStart);
        }
        return;
    }
    TakeLastLine(text, lines.Buffered(), afterBlankLine && !inLine);
}

// The file's last line, when it has no line end and is not in text yet.
void MboxReader::TakeLastLine(std::string& text, std::string_view line, bool afterBlankLine)
{
    if (afterBlankLine && IsFromLine(line)) {
        pendingFromLine.assign(line);
        hasPending = true;
    } else {
        text.append(line);
    }
    lines.Consume(line.size());
}
