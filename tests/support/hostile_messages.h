#ifndef TAGSTRIP_TESTS_SUPPORT_HOSTILE_MESSAGES_H
#define TAGSTRIP_TESTS_SUPPORT_HOSTILE_MESSAGES_H

#include <cstddef>
#include <string>
#include <vector>

// Messages built to hurt a mail filter: huge, one endless line, endless nesting, tags
// that never close. Each ends in kHostileSentinel as the last word of its text, so a
// check can tell a complete result from a truncated one.
extern const char kHostileSentinel[];

struct HostileMessage {
    const char* name;
    std::string (*make)(std::size_t scale);
    std::size_t fullScale;  // the size the benchmark and the report use
};

const std::vector<HostileMessage>& HostileMessages();

#endif
