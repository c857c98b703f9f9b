// The slice of the Win32 API that Tagstrip is written against. On Windows it is the
// system's own; elsewhere everything below src/platform implements it. The rest of the
// code includes this header as it would include <windows.h>.
#ifndef TAGSTRIP_PLATFORM_KERNEL_WINDOWS_H
#define TAGSTRIP_PLATFORM_KERNEL_WINDOWS_H

#ifdef _WIN32
#include "platform/kernel/system_windows.h"
#else
#include "platform/kernel/portable_windows.h"
#include "platform/kernel/kernel.h"
#endif

#endif
