#ifndef TAGSTRIP_MILTER_MILTER_CONTEXT_H
#define TAGSTRIP_MILTER_MILTER_CONTEXT_H

#include "milter/in_flight.h"
#include "milter/milter_log.h"
#include "milter/options_holder.h"
#include "milter/session_holder.h"

// Everything the milter callbacks share across connections.
struct MilterContext {
    OptionsHolder options;
    MilterLog log;
    SessionHolder sessions;
    InFlightMessages inFlight;
};

#endif
