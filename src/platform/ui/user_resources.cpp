// Resources of a module (strings, accelerators, dialog templates, icons) and the
// accelerator translation of the keyboard.
#include <cstring>

#include "platform/ui/front_end.h"
#include "platform/kernel/resource_registry.h"
#include "platform/ui/window_record.h"

namespace {

template <class Row>
const Row* FindRow(const ResourceRows<Row>& rows, UINT id)
{
    for (const Row& row : rows) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

bool ModifiersMatch(const ACCEL& entry)
{
    return ((entry.fVirt & FSHIFT) != 0) == (GetKeyState(VK_SHIFT) < 0) &&
           ((entry.fVirt & FALT) != 0) == (GetKeyState(VK_MENU) < 0);
}

bool Matches(const ACCEL& entry, const MSG& message)
{
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    return keyDown && (entry.fVirt & FVIRTKEY) != 0 && entry.key == message.wParam &&
           ModifiersMatch(entry);
}

FrontEnd* frontEnd = nullptr;

}  // namespace

const DialogResource* FindDialog(HMODULE module, UINT id)
{
    const ResourceScript* script = FindModuleResources(module);
    return script != nullptr ? FindRow(script->dialogs, id) : nullptr;
}

const StringResource* FindString(HMODULE module, UINT id)
{
    const ResourceScript* script = FindModuleResources(module);
    return script != nullptr ? FindRow(script->strings, id) : nullptr;
}

const IconResource* FindIcon(HMODULE module, UINT id)
{
    const ResourceScript* script = FindModuleResources(module);
    return script != nullptr ? FindRow(script->icons, id) : nullptr;
}

int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int bufferMax)
{
    const StringResource* string = FindString(module, id);
    if (string == nullptr || buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    lstrcpynA(buffer, string->text, bufferMax);
    return static_cast<int>(std::strlen(buffer));
}

HACCEL LoadAcceleratorsA(HINSTANCE module, LPCSTR tableName)
{
    const ResourceScript* script = FindModuleResources(module);
    if (script == nullptr || !IS_INTRESOURCE(tableName)) {
        return nullptr;
    }
    return FindRow(script->accelerators, LOWORD(tableName));
}

int TranslateAcceleratorA(HWND window, HACCEL table, MSG* message)
{
    if (table == nullptr || !IsWindow(window)) {
        return 0;
    }
    for (const ACCEL& entry : table->entries) {
        if (Matches(entry, *message)) {
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}

FrontEnd* CurrentFrontEnd()
{
    return frontEnd;
}

void SetFrontEnd(FrontEnd* installed)
{
    frontEnd = installed;
}

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    return frontEnd != nullptr ? frontEnd->ShowMessageBox(text, caption, type) : 0;
}
