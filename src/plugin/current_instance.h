#ifndef TAGSTRIP_PLUGIN_CURRENT_INSTANCE_H
#define TAGSTRIP_PLUGIN_CURRENT_INSTANCE_H

#include "platform/kernel/windows.h"

class AnalyzerInstance;

// The module's own handle, stored each time the loader calls DllMain.
HMODULE ModuleHandle();

// The calling thread's current analyzer instance: what this thread stored last, or null.
AnalyzerInstance* CurrentInstance();
void SetCurrentInstance(AnalyzerInstance* instance);

// The module's entry routine, which the system's loader calls by this name: attach
// stores the handle, registers the module with the dialog framework and allocates the
// current-instance slot; detach undoes both.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// Whether attach registered the module with the dialog framework.
bool ModuleRegistered();

#endif
