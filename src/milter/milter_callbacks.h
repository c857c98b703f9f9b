#ifndef TAGSTRIP_MILTER_MILTER_CALLBACKS_H
#define TAGSTRIP_MILTER_MILTER_CALLBACKS_H

#include <libmilter/mfapi.h>

#include "milter/milter_context.h"

// The callbacks for smfi_register. They reach the shared state through context, which
// must outlive every connection.
smfiDesc MilterDescription(MilterContext& context);

#endif
