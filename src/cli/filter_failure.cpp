#include "cli/filter_failure.h"

#include <sysexits.h>

namespace {

struct FailureInfo {
    FilterFailure failure;
    const char* word;  // for the mail log
    int status;
};

const FailureInfo kFailures[] = {
    {FilterFailure::Usage, "usage", EX_USAGE},
    {FilterFailure::Module, "module", EX_UNAVAILABLE},
    {FilterFailure::Internal, "internal-error", EX_SOFTWARE},
    {FilterFailure::Input, "read-error", EX_IOERR},
    {FilterFailure::Output, "write-error", EX_IOERR},
    {FilterFailure::OutOfMemory, "out-of-memory", EX_TEMPFAIL},
    {FilterFailure::Settings, "settings", EX_CONFIG},
};

const FailureInfo& InfoOf(FilterFailure failure)
{
    for (const FailureInfo& info : kFailures) {
        if (info.failure == failure) {
            return info;
        }
    }
    return kFailures[0];
}

}  // namespace

const char* FailureWord(FilterFailure failure)
{
    return InfoOf(failure).word;
}

int FailureStatus(FilterFailure failure)
{
    return InfoOf(failure).status;
}
