// The resources of one module, compiled into it as data: what a resource script declares.
// Every table is a plain array with its length; one row per resource or per entry.
#ifndef TAGSTRIP_PLATFORM_KERNEL_RESOURCE_SCRIPT_H
#define TAGSTRIP_PLATFORM_KERNEL_RESOURCE_SCRIPT_H

#include <cstddef>

#include "platform/kernel/windows.h"

template <class Row>
struct ResourceRows {
    const Row* rows;
    std::size_t count;

    const Row* begin() const { return rows; }
    const Row* end() const { return rows + count; }
};

template <class Row, std::size_t Count>
constexpr ResourceRows<Row> RowsOf(const Row (&rows)[Count])
{
    return {rows, Count};
}

// An icon as character art: each row a string of the same width, '#' set, '.' clear.
struct IconResource {
    UINT id;
    ResourceRows<const char*> pixels;
};

// The predefined window classes a dialog template may name.
enum ControlClass {
    ControlButton,
    ControlEdit,
    ControlStatic,
    ControlListBox
};

// One control of a dialog template; position and size in dialog units.
struct DialogItem {
    int id;
    ControlClass controlClass;
    const char* text;
    UINT iconId;        // SS_ICON statics: the icon shown; 0 otherwise
    DWORD style;
    int x, y, cx, cy;
};

struct DialogResource {
    UINT id;
    DWORD style;
    int x, y, cx, cy;
    int pointSize;
    const char* faceName;
    const char* caption;
    ResourceRows<DialogItem> items;
};

struct ACCEL {
    unsigned char fVirt;
    WORD key;
    WORD cmd;
};

struct AcceleratorResource {
    UINT id;
    ResourceRows<ACCEL> entries;
};

struct StringResource {
    UINT id;
    const char* text;
};

enum FileType {
    FileTypeApplication = 1,
    FileTypeDll = 2
};

struct VersionResource {
    WORD fileVersion[4];
    WORD productVersion[4];
    FileType fileType;
    const char* stringBlock;      // language and code page, as "040904b0"
    const char* fileVersionText;
    const char* productVersionText;
};

struct ResourceScript {
    const char* moduleName;
    ResourceRows<IconResource> icons;
    ResourceRows<DialogResource> dialogs;
    ResourceRows<AcceleratorResource> accelerators;
    ResourceRows<StringResource> strings;
    const VersionResource* version;
};

#endif
