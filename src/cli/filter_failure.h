#ifndef TAGSTRIP_CLI_FILTER_FAILURE_H
#define TAGSTRIP_CLI_FILTER_FAILURE_H

// What can go wrong in the filter. Each passes the message on; with --exit-codes each
// gives its own status, from sysexits.h.
enum class FilterFailure { Usage, Module, Internal, Input, Output, OutOfMemory, Settings };

const char* FailureWord(FilterFailure failure);
int FailureStatus(FilterFailure failure);

#endif
