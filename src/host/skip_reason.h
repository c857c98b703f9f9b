#ifndef TAGSTRIP_HOST_SKIP_REASON_H
#define TAGSTRIP_HOST_SKIP_REASON_H

// Why a message was passed on without analysis: a short word for the X-Tagstrip-Skipped
// header, which scorers match on, and a sentence for people.
struct SkipReason {
    const char* token;
    const char* explanation;
};

extern const SkipReason kSkippedNulByte;
extern const SkipReason kSkippedTooLarge;

#endif
