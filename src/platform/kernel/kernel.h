// Our own kernel and C runtime calls, where the system has none: thread-local slots,
// module file names, private-profile (ini) files, temporary files, and the runtime's
// integer and string helpers.
#ifndef TAGSTRIP_PLATFORM_KERNEL_KERNEL_H
#define TAGSTRIP_PLATFORM_KERNEL_KERNEL_H

#include <cstddef>

#include "platform/kernel/portable_windows.h"

// Thread-local storage slots. A slot reads as null on a thread that never stored a value.
DWORD TlsAlloc();
BOOL TlsFree(DWORD index);
LPVOID TlsGetValue(DWORD index);
BOOL TlsSetValue(DWORD index, LPVOID value);

// The full path of a module's file: the shared object for a module handle, the running
// executable for null. Returns the length copied (without the NUL), 0 on failure.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// Modules loaded at run time; the handle is the module's load address, as above.
HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
// Only the form that names the module holding an address, without taking a reference
// (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS with ..._UNCHANGED_REFCOUNT).
BOOL GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module);

// Private-profile (ini) files.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// Temporary files.
DWORD GetTempPathA(DWORD size, LPSTR buffer);
UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName);
BOOL DeleteFileA(LPCSTR fileName);

// Runtime helpers.
char* _itoa(int value, char* buffer, int radix);
int _strnicmp(const char* left, const char* right, std::size_t count);
LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int maxLength);

#endif
