#include "host/transfer_codec.h"

#include <gmime/gmime.h>

#include <algorithm>

#include "host/transfer_faults.h"

namespace {

// The codecs run over the text in pieces of this size, so that their output buffer
// stays small however large the part.
constexpr std::size_t kPieceSize = 1 << 16;

GMimeContentEncoding GMimeEncodingOf(TransferEncoding encoding)
{
    return encoding == TransferEncoding::Base64 ? GMIME_CONTENT_ENCODING_BASE64
                                                : GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE;
}

// The codec's state machines need no library set-up; g_mime_init is not called. The
// tail, if any, is fed after the input.
std::string RunCodec(GMimeEncoding& state, std::string_view input, std::string_view tail = {})
{
    std::string output;
    std::string buffer;
    for (std::string_view rest = input; !rest.empty(); rest.remove_prefix(std::min(kPieceSize, rest.size()))) {
        const std::string_view piece = rest.substr(0, kPieceSize);
        buffer.resize(g_mime_encoding_outlen(&state, piece.size()));
        output.append(buffer, 0, g_mime_encoding_step(&state, piece.data(), piece.size(), &buffer[0]));
    }
    buffer.resize(g_mime_encoding_outlen(&state, tail.size()));
    output.append(buffer, 0, g_mime_encoding_flush(&state, tail.data(), tail.size(), &buffer[0]));
    return output;
}

// The encoders end lines with LF alone.
std::string WithLineEnds(const std::string& text, const char* lineEnd)
{
    if (lineEnd[0] == '\n') {
        return text;
    }
    std::string result;
    result.reserve(text.size() + text.size() / 64);
    for (char character : text) {
        if (character == '\n') {
            result += lineEnd;
        } else {
            result += character;
        }
    }
    return result;
}

}  // namespace

const char* TransferEncodingName(TransferEncoding encoding)
{
    return encoding == TransferEncoding::Base64 ? "base64" : "quoted-printable";
}

DecodedText DecodeTransfer(TransferEncoding encoding, std::string_view encoded)
{
    DecodedText decoded;
    std::string missingPadding;
    decoded.faults = encoding == TransferEncoding::Base64 ? Base64Faults(encoded, missingPadding)
                                                           : QuotedPrintableFaults(encoded);
    GMimeEncoding state;
    g_mime_encoding_init_decode(&state, GMimeEncodingOf(encoding));
    // The base64 decoder keeps the bits of an unpadded last group to itself.
    decoded.text = RunCodec(state, encoded, missingPadding);
    return decoded;
}

// A quoted-printable text that does not end in a line end gets a soft line break, so that
// the line after it (a boundary) adds nothing to the decoded text.
std::string EncodeTransfer(TransferEncoding encoding, const std::string& text, const char* lineEnd)
{
    GMimeEncoding state;
    g_mime_encoding_init_encode(&state, GMimeEncodingOf(encoding));
    std::string encoded = RunCodec(state, text);
    if (!encoded.empty() && encoded.back() != '\n') {
        encoded += "=\n";
    }
    return WithLineEnds(encoded, lineEnd);
}
