// The slice of the Win32 API that Tagstrip is written against, for this platform.
// Everything below src/platform implements it; the rest of the code includes this header
// as it would include <windows.h>.
#ifndef TAGSTRIP_PLATFORM_KERNEL_WINDOWS_H
#define TAGSTRIP_PLATFORM_KERNEL_WINDOWS_H

#include <cstdint>

typedef int BOOL;
typedef std::uint32_t DWORD;
typedef std::uint32_t UINT;
typedef std::uint16_t WORD;
typedef std::int32_t LONG;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;

// A module handle: the load address of a shared object; null names the executable.
typedef void* HMODULE;
typedef HMODULE HINSTANCE;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define MAX_PATH 260
#define TLS_OUT_OF_INDEXES 0xFFFFFFFFu

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#include "platform/kernel/kernel.h"

#endif
