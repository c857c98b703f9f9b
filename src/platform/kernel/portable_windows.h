// The Win32 types and constants that Tagstrip uses, for a platform that does not have
// them; kernel.h declares our own kernel calls over them.
#ifndef TAGSTRIP_PLATFORM_KERNEL_PORTABLE_WINDOWS_H
#define TAGSTRIP_PLATFORM_KERNEL_PORTABLE_WINDOWS_H

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
typedef void (*FARPROC)();

// Calling conventions exist only on 32-bit Windows.
#define WINAPI

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define LOWORD(value) (static_cast<WORD>((std::uintptr_t)(value) & 0xFFFF))
#define HIWORD(value) (static_cast<WORD>(((std::uintptr_t)(value) >> 16) & 0xFFFF))

#define MAX_PATH 260
#define TLS_OUT_OF_INDEXES 0xFFFFFFFFu

#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x2u
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x4u

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#endif
