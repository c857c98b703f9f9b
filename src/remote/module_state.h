#ifndef TAGSTRIP_REMOTE_MODULE_STATE_H
#define TAGSTRIP_REMOTE_MODULE_STATE_H

#include "platform/kernel/windows.h"

// The remote-content module's own handle, stored each time the loader calls DllMain.
HMODULE RemoteModuleHandle();

// Whether attach registered the module with the dialog framework.
bool RemoteModuleRegistered();

// The module's entry routine: attach stores the handle and registers the module's
// resources with the dialog framework; detach ends the registration.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

#endif
