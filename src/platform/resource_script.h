// The resources of one module, compiled into it as data: what a resource script declares.
#ifndef TAGSTRIP_PLATFORM_RESOURCE_SCRIPT_H
#define TAGSTRIP_PLATFORM_RESOURCE_SCRIPT_H

#include "platform/windows.h"

struct ResourceScript {
    const char* moduleName;
};

#endif
