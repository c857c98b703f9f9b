#include "host/transfer_codec.h"

#include <dlfcn.h>
#include <gmime/gmime.h>

#include <algorithm>
#include <stdexcept>

#include "host/transfer_faults.h"

namespace {

// GMime's codec functions, loaded when a part first needs them: most messages need none,
// and linking the library would load it and the dozen libraries it needs into every run
// of every front end. Loaded once for the process, on whichever thread comes first.
struct GMimeCodecs {
    decltype(&g_mime_encoding_init_decode) initDecode = nullptr;
    decltype(&g_mime_encoding_init_encode) initEncode = nullptr;
    decltype(&g_mime_encoding_outlen) outputLength = nullptr;
    decltype(&g_mime_encoding_step) step = nullptr;
    decltype(&g_mime_encoding_flush) flush = nullptr;
    std::string error;  // why they could not be loaded, if they could not
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

GMimeCodecs LoadCodecs()
{
    GMimeCodecs codecs;
    void* library = dlopen(TAGSTRIP_GMIME_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        codecs.error = dlerror();
    } else if (!Resolve(library, "g_mime_encoding_init_decode", codecs.initDecode) ||
               !Resolve(library, "g_mime_encoding_init_encode", codecs.initEncode) ||
               !Resolve(library, "g_mime_encoding_outlen", codecs.outputLength) ||
               !Resolve(library, "g_mime_encoding_step", codecs.step) ||
               !Resolve(library, "g_mime_encoding_flush", codecs.flush)) {
        codecs.error = std::string(TAGSTRIP_GMIME_LIBRARY ": ") + dlerror();
    }
    return codecs;
}

const GMimeCodecs& Codecs()
{
    static const GMimeCodecs codecs = LoadCodecs();
    return codecs;
}

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
void RunCodec(const GMimeCodecs& codecs, GMimeEncoding& state, std::string_view input, std::string& output,
              std::string_view tail = {})
{
    std::string buffer;
    for (std::string_view rest = input; !rest.empty(); rest.remove_prefix(std::min(kPieceSize, rest.size()))) {
        const std::string_view piece = rest.substr(0, kPieceSize);
        buffer.resize(codecs.outputLength(&state, piece.size()));
        output.append(buffer, 0, codecs.step(&state, piece.data(), piece.size(), &buffer[0]));
    }
    buffer.resize(codecs.outputLength(&state, tail.size()));
    output.append(buffer, 0, codecs.flush(&state, tail.data(), tail.size(), &buffer[0]));
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

std::vector<std::string> DecodeTransferOnto(TransferEncoding encoding, std::string_view encoded, std::string& text)
{
    std::string missingPadding;
    std::vector<std::string> faults = encoding == TransferEncoding::Base64 ? Base64Faults(encoded, missingPadding)
                                                                           : QuotedPrintableFaults(encoded);
    const GMimeCodecs& codecs = Codecs();
    if (!codecs.error.empty()) {
        faults.assign(1, "cannot be decoded without the GMime library: " + codecs.error);
        return faults;
    }
    GMimeEncoding state;
    codecs.initDecode(&state, GMimeEncodingOf(encoding));
    // The base64 decoder keeps the bits of an unpadded last group to itself.
    RunCodec(codecs, state, encoded, text, missingPadding);
    return faults;
}

DecodedText DecodeTransfer(TransferEncoding encoding, std::string_view encoded)
{
    DecodedText decoded;
    decoded.faults = DecodeTransferOnto(encoding, encoded, decoded.text);
    return decoded;
}

// A quoted-printable text that does not end in a line end gets a soft line break, so that
// the line after it (a boundary) adds nothing to the decoded text.
std::string EncodeTransfer(TransferEncoding encoding, const std::string& text, const char* lineEnd)
{
    const GMimeCodecs& codecs = Codecs();
    if (!codecs.error.empty()) {
        throw std::runtime_error("cannot encode without the GMime library: " + codecs.error);
    }
    GMimeEncoding state;
    codecs.initEncode(&state, GMimeEncodingOf(encoding));
    std::string encoded;
    RunCodec(codecs, state, text, encoded);
    if (!encoded.empty() && encoded.back() != '\n') {
        encoded += "=\n";
    }
    return WithLineEnds(encoded, lineEnd);
}
