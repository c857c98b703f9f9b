#include <cstring>

#include "platform/ui/afxwin.h"
#include "platform/ui/window_record.h"

int AfxMessageBox(const char* text, UINT type, UINT)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '/');
    return MessageBoxA(nullptr, text, name != nullptr ? name + 1 : path, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    for (HMODULE module : AfxResourceSearchOrder()) {
        if (const StringResource* prompt = FindString(module, promptId)) {
            return AfxMessageBox(prompt->text, type, helpId);
        }
    }
    return 0;
}
