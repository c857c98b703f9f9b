#ifndef TAGSTRIP_MILTER_OPTIONS_HOLDER_H
#define TAGSTRIP_MILTER_OPTIONS_HOLDER_H

#include <memory>
#include <mutex>

#include "milter/milter_options.h"

// The options that new connections take; a connection keeps the ones it took for its
// whole life, so that a reload never changes a message half way.
class OptionsHolder {
public:
    std::shared_ptr<const MilterOptions> Current() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return options;
    }

    void Replace(std::shared_ptr<const MilterOptions> next)
    {
        std::lock_guard<std::mutex> lock(mutex);
        options.swap(next);
    }

private:
    mutable std::mutex mutex;
    std::shared_ptr<const MilterOptions> options;
};

#endif
