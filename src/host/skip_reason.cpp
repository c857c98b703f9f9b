#include "host/skip_reason.h"

const SkipReason kSkippedNulByte = {
    "nul-byte", "it holds a NUL byte, and the analyzer would see only the text before it"};
const SkipReason kSkippedTooLarge = {"too-large", "it is larger than the size limit"};
