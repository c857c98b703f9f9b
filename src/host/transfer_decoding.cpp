#include "host/transfer_decoding.h"

#include <algorithm>

#include "common/find_no_case.h"
#include "common/string_helpers.h"
#include "host/header_field.h"
#include "host/message_text.h"

namespace {

const char kEncodingField[] = "Content-Transfer-Encoding";
const char kEightBit[] = "8bit";

struct EncodingName {
    const char* name;
    TransferEncoding encoding;
};

const EncodingName kDecodedEncodings[] = {
    {"quoted-printable", TransferEncoding::QuotedPrintable},
    {"base64", TransferEncoding::Base64},
};

bool NamesDecodedEncoding(const std::string& value, TransferEncoding& encoding)
{
    for (const EncodingName& known : kDecodedEncodings) {
        if (SameWord(value, known.name)) {
            encoding = known.encoding;
            return true;
        }
    }
    return false;
}

// The length of the decoded text as the analyzer's scanner takes it in: each bare LF
// given a CR, the white space at its end left out.
std::size_t GivenLength(std::string_view text)
{
    const std::size_t kept = text.find_last_not_of(" \t\r\n") + 1;
    std::size_t length = kept;
    for (std::size_t lineFeed = text.find('\n'); lineFeed < kept; lineFeed = text.find('\n', lineFeed + 1)) {
        length += lineFeed == 0 || text[lineFeed - 1] != '\r';
    }
    return length;
}

std::size_t LineNumberAt(const std::string& text, std::size_t offset)
{
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

}  // namespace

bool TransferDecoding::MayDecode(const std::string& message)
{
    return message.find('\0') == std::string::npos && LooksLikeHtml(message) &&
           FindNoCaseUpToNul(message, kEncodingField) != nullptr &&
           (FindNoCaseUpToNul(message, "base64") != nullptr || FindNoCaseUpToNul(message, "quoted-printable") != nullptr);
}

TransferDecoding::TransferDecoding(const std::string& message) : message(message), lineEnd(LineEndOf(message))
{
    if (MayDecode(message)) {
        Decode();
    }
}

TransferDecoding::TransferDecoding(const std::string& message, MayDecodeSaidYes)
    : message(message), lineEnd(LineEndOf(message))
{
    Decode();
}

void TransferDecoding::Decode()
{
    const std::vector<MessagePart> parts = LocateParts(message);
    partCount = parts.size();
    DecodeParts(parts);
    if (!decodedParts.empty() && !WalkerCutsAsBefore()) {
        Warn(decodedParts.front().headerStart, "a decoded HTML part holds a line that the MIME walker would take "
                                             "for a boundary; the message is analysed as it stands");
        decodedParts.clear();
    }
    if (decodedParts.empty()) {
        decoded.clear();
        decoded.shrink_to_fit();
    }
}

void TransferDecoding::DecodeParts(const std::vector<MessagePart>& parts)
{
    std::size_t copied = 0;
    for (std::size_t index = 0; index < parts.size(); ++index) {
        if (parts[index].isHtml && parts[index].bodyStart < parts[index].bodyEnd) {
            DecodePart(index, parts[index], copied);
        }
    }
    if (!decodedParts.empty()) {
        decoded.append(message, copied, std::string::npos);
    }
}

// Copies the message up to the part's body, with the 8bit field in place of the
// encoding's, then decodes the body onto it; takes it all back when the part stays
// encoded.
void TransferDecoding::DecodePart(std::size_t index, const MessagePart& part, std::size_t& copied)
{
    HeaderFieldSpan field;
    TransferEncoding encoding;
    if (!FindHeaderField(message, part.headerStart, part.bodyStart, kEncodingField, field) ||
        !NamesDecodedEncoding(field.value, encoding)) {
        return;
    }
    if (decoded.empty()) {
        decoded.reserve(message.size());
    }
    const std::size_t decodedBefore = decoded.size();
    decoded.append(message, copied, field.start - copied);
    decoded.append(kEncodingField).append(": ").append(kEightBit).append(lineEnd);
    decoded.append(message, field.end, part.bodyStart - field.end);
    const std::size_t decodedStart = decoded.size();
    const std::vector<std::string> faults = DecodeTransferOnto(
        encoding, std::string_view(message).substr(part.bodyStart, part.bodyEnd - part.bodyStart), decoded);
    const std::string_view text = std::string_view(decoded).substr(decodedStart);
    const std::string where = std::string("text/html part in ") + TransferEncodingName(encoding) + ": ";
    for (const std::string& fault : faults) {
        Warn(part.headerStart, where + fault);
    }
    const bool holdsNul = text.find('\0') != std::string_view::npos;
    if (holdsNul) {
        Warn(part.headerStart, where + "its decoded text holds a NUL byte, so it is analysed as it stands");
    }
    if (holdsNul || text.empty()) {
        decoded.resize(decodedBefore);
        return;
    }
    const bool addedLineEnd = text.back() != '\n';
    const std::size_t givenLength = GivenLength(text);
    if (addedLineEnd) {
        decoded += lineEnd;
    }
    decodedParts.push_back({index, part.headerStart, encoding, field.start, field.end, part.bodyStart, part.bodyEnd, decodedStart,
                            decoded.size(), addedLineEnd, givenLength});
    copied = part.bodyEnd;
}

// Decoded text that holds a boundary line would hand the analyzer other parts than
// the ones decoded.
bool TransferDecoding::WalkerCutsAsBefore()
{
    const std::vector<MessagePart> parts = LocateParts(decoded);
    if (parts.size() != partCount) {
        return false;
    }
    return std::all_of(decodedParts.begin(), decodedParts.end(), [&parts](const DecodedPart& part) {
        const MessagePart& found = parts[part.index];
        return found.isHtml && found.bodyStart == part.decodedStart && found.bodyEnd == part.decodedEnd;
    });
}

bool TransferDecoding::Reencode(const std::string& rewritten, std::string& result)
{
    const std::vector<MessagePart> parts = LocateParts(rewritten);
    std::string text;
    text.reserve(rewritten.size() + rewritten.size() / 3);
    std::size_t copied = 0;
    bool matched = parts.size() == partCount;
    for (auto part = decodedParts.begin(); matched && part != decodedParts.end(); ++part) {
        const MessagePart& rewrittenPart = parts[part->index];
        text.append(rewritten, copied, rewrittenPart.headerStart - copied);
        matched = ReencodePart(*part, rewrittenPart, rewritten, text);
        copied = rewrittenPart.bodyEnd;
    }
    if (!matched) {
        return false;
    }
    text.append(rewritten, copied, std::string::npos);
    result.swap(text);
    return true;
}

// The analyzer writes an HTML body as its scanner's text followed by an empty line; the
// scanner keeps every byte of the body but the white space at its very end. When that is
// all that is missing, the text came back unchanged; lengths are compared first, so that
// a changed part is not decoded once more. Text encoded anew ends in a line end
// when the decoded text did.
bool TransferDecoding::ReencodePart(const DecodedPart& part, const MessagePart& rewrittenPart,
                                    const std::string& rewritten, std::string& result) const
{
    HeaderFieldSpan field;
    if (!rewrittenPart.isHtml ||
        !FindHeaderField(rewritten, rewrittenPart.headerStart, rewrittenPart.bodyStart, kEncodingField, field) ||
        field.value != kEightBit) {
        return false;
    }
    result.append(rewritten, rewrittenPart.headerStart, field.start - rewrittenPart.headerStart);
    result.append(message, part.fieldStart, part.fieldEnd - part.fieldStart);
    result.append(rewritten, field.end, rewrittenPart.bodyStart - field.end);

    static const char kAnalyzersEnd[] = "\r\n\r\n";
    std::string body = AsWalkerHandsItOn(std::string_view(rewritten).substr(
        rewrittenPart.bodyStart, rewrittenPart.bodyEnd - rewrittenPart.bodyStart));
    if (!EndsWith(body, kAnalyzersEnd)) {
        return false;
    }
    body.resize(body.size() - (sizeof kAnalyzersEnd - 1));
    if (body.size() == part.givenLength && body == GivenText(part)) {
        result.append(message, part.bodyStart, part.bodyEnd - part.bodyStart);
        return true;
    }
    if (!part.addedLineEnd && !EndsWith(body, "\r\n")) {
        body += "\r\n";
    }
    result += EncodeTransfer(part.encoding, body, lineEnd);
    return true;
}

// The decoded text of a part as the analyzer's scanner took it in.
std::string TransferDecoding::GivenText(const DecodedPart& part) const
{
    std::string text = DecodeTransfer(
        part.encoding, std::string_view(message).substr(part.bodyStart, part.bodyEnd - part.bodyStart)).text;
    if (part.addedLineEnd) {
        text += lineEnd;
    }
    std::string given = AsWalkerHandsItOn(text);
    given.erase(given.find_last_not_of(" \t\r\n") + 1);
    return given;
}

void TransferDecoding::Warn(std::size_t offset, const std::string& problem)
{
    warnings.push_back("line " + std::to_string(LineNumberAt(message, offset)) + ": " + problem);
}

void RestoreTransferEncodings(TransferDecoding& decoding, MessageAnalysis& analysis)
{
    analysis.decodedParts = decoding.DecodedPartCount();
    if (analysis.rewritten && analysis.decodedParts > 0 &&
        !decoding.Reencode(analysis.rewrittenText, analysis.rewrittenText)) {
        analysis.rewritten = false;
        analysis.rewrittenText.clear();
        analysis.warnings.push_back("the rewritten message does not match its decoded HTML parts part for part, "
                                    "so it is passed on unchanged");
    }
    analysis.warnings.insert(analysis.warnings.begin(), decoding.Warnings().begin(), decoding.Warnings().end());
}
