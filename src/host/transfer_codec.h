#ifndef TAGSTRIP_HOST_TRANSFER_CODEC_H
#define TAGSTRIP_HOST_TRANSFER_CODEC_H

#include <string>
#include <string_view>
#include <vector>

// The two content transfer encodings of text parts.
enum class TransferEncoding {
    QuotedPrintable,
    Base64
};

// "quoted-printable" or "base64".
const char* TransferEncodingName(TransferEncoding encoding);

// What decoding gave: the text, and each fault found in the encoded form, worded for a
// warning. The decoding is lenient, as mail readers are: a fault never stops it.
struct DecodedText {
    std::string text;
    std::vector<std::string> faults;
};

// When the codec library cannot be loaded, the text is empty and the one fault says why.
DecodedText DecodeTransfer(TransferEncoding encoding, std::string_view encoded);
// The same with the text appended to text, so that a big one is not copied once more;
// gives the faults.
std::vector<std::string> DecodeTransferOnto(TransferEncoding encoding, std::string_view encoded, std::string& text);

// Encodes text whose line ends are CRLF: quoted-printable after RFC 2045 (lines of at
// most 76 characters with soft breaks, "=" and trailing blanks encoded, each CRLF a hard
// line break), base64 in lines of 76 characters. Every output line ends in lineEnd,
// the last one included.
// Throws std::runtime_error when the codec library cannot be loaded (a part is only
// encoded again after it was decoded, so then it was).
std::string EncodeTransfer(TransferEncoding encoding, const std::string& text, const char* lineEnd);

#endif
