#ifndef TAGSTRIP_HOST_TRANSFER_DECODING_H
#define TAGSTRIP_HOST_TRANSFER_DECODING_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "host/host_session.h"
#include "host/message_parts.h"
#include "host/transfer_codec.h"

// The HTML parts of a message that travel quoted-printable or base64, decoded for the
// analyzer and encoded again in what it writes back. A part counts when the analyzer
// would scan it (its Content-Type names text/html, found by the analyzer's own walker)
// and a Content-Transfer-Encoding field names one of the two encodings. Such a part gets
// "Content-Transfer-Encoding: 8bit" and its decoded text; everything else stays as it is.
// Parts whose decoded text holds a NUL, or would change how the walker cuts the message,
// stay encoded, with a warning.
class TransferDecoding {
public:
    // message must outlive this object.
    explicit TransferDecoding(const std::string& message);
    // The same for a message that MayDecode has let through already.
    struct MayDecodeSaidYes {};
    TransferDecoding(const std::string& message, MayDecodeSaidYes);

    // A cheap test that leaves most messages alone before any walk: false when no part
    // of the message can be decoded.
    static bool MayDecode(const std::string& message);

    // The message to analyse: the decoded one, or the message itself.
    const std::string& Text() const { return decodedParts.empty() ? message : decoded; }
    // The decoded message, handed over so that its holder can free it once it is no longer
    // needed; Reencode does without it. Empty when no part was decoded.
    std::string TakeDecodedText() { return std::move(decoded); }
    int DecodedPartCount() const { return static_cast<int>(decodedParts.size()); }
    const std::vector<std::string>& Warnings() const { return warnings; }

    // The analyzer's rewriting of Text(), in the message's own line ends, with each
    // decoded part in its own encoding again: its original bytes when its text came back
    // unchanged, else the rewritten text encoded anew. False, leaving result alone, when
    // the rewritten text does not match the decoded message part for part. Whether a
    // part came back unchanged is told against its encoded body decoded once more, so
    // that the decoded message need not be kept for this.
    bool Reencode(const std::string& rewritten, std::string& result);

private:
    struct DecodedPart {
        std::size_t index;          // among the message's parts, in walk order
        std::size_t headerStart;
        TransferEncoding encoding;
        std::size_t fieldStart;     // the original Content-Transfer-Encoding field
        std::size_t fieldEnd;
        std::size_t bodyStart;      // the original encoded body
        std::size_t bodyEnd;
        std::size_t decodedStart;   // the decoded body in the decoded message
        std::size_t decodedEnd;
        bool addedLineEnd;          // the decoded text did not end in one
        std::size_t givenLength;    // of its GivenText
    };

    void Decode();
    void DecodeParts(const std::vector<MessagePart>& parts);
    void DecodePart(std::size_t index, const MessagePart& part, std::size_t& copied);
    bool WalkerCutsAsBefore();
    bool ReencodePart(const DecodedPart& part, const MessagePart& rewrittenPart, const std::string& rewritten,
                      std::string& result) const;
    std::string GivenText(const DecodedPart& part) const;
    void Warn(std::size_t offset, const std::string& problem);

    const std::string& message;
    const char* lineEnd;
    std::string decoded;
    std::size_t partCount = 0;
    std::vector<DecodedPart> decodedParts;
    std::vector<std::string> warnings;
};

// Puts the analysis of decoding.Text() in terms of the message itself: the count of
// decoded parts, the decoding's warnings, and the rewritten text with the parts encoded
// again. A rewritten text that cannot be matched is given up, with a warning: the
// message passes on unchanged, its score and findings kept (a skipped message would go
// unscored, which a sender could provoke on purpose).
void RestoreTransferEncodings(TransferDecoding& decoding, MessageAnalysis& analysis);

#endif
