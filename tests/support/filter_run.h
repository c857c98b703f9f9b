#ifndef TAGSTRIP_TESTS_SUPPORT_FILTER_RUN_H
#define TAGSTRIP_TESTS_SUPPORT_FILTER_RUN_H

#include <string>

class FilterEngine;
class FilterPartHandler;

// Sets the engine's remove switches from a Flags word, as the current instance would.
void SetRemoveSwitches(FilterEngine& engine, int flags);

// What the walker, the part handler and the rules write for a whole message under the
// given Flags word: the in-memory path of one analysis, without the report. A handler
// may be passed in to be reused from one message to the next.
std::string FilterMessage(const std::string& message, int flags, FilterPartHandler* handler = nullptr);

#endif
