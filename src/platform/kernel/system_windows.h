// The kernel and C runtime of the system, without its user interface: the window and
// dialog layer (platform/ui) is ours on every platform, so the system's names for its
// window handle, accelerator handle and string loader are kept out of the way.
#ifndef TAGSTRIP_PLATFORM_KERNEL_SYSTEM_WINDOWS_H
#define TAGSTRIP_PLATFORM_KERNEL_SYSTEM_WINDOWS_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define NOUSER
#define NOGDI

#define HWND SystemHWND
#define HACCEL SystemHACCEL
#define LoadStringA SystemLoadStringA
#include <windows.h>
#undef HWND
#undef HACCEL
#undef LoadStringA

#include <stdlib.h>
#include <string.h>

#endif
