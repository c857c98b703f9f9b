// Message maps: each window class keeps a static table of entries, one row per handled
// message, and a pointer to its base class's table. An entry names the message, the
// notification code, the range of control ids it accepts and a thunk that calls the
// class's handler with the signature its kind expects.
#ifndef TAGSTRIP_PLATFORM_UI_AFX_MSGMAP_H
#define TAGSTRIP_PLATFORM_UI_AFX_MSGMAP_H

#include <cstddef>

#include "platform/ui/winuser.h"

class CWnd;

// Calls one handler; returns whether the message counts as handled.
typedef BOOL (*AFX_HANDLER_THUNK)(CWnd* target, UINT id, NMHDR* header, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT firstId;
    UINT lastId;
    AFX_HANDLER_THUNK call;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* baseMap;
    ResourceRows<AFX_MSGMAP_ENTRY> entries;
};

template <class MemberPointer>
struct AfxHandlerClass;

template <class Class, class Function>
struct AfxHandlerClass<Function Class::*> {
    using type = Class;
};

template <auto Handler>
using AfxHandlerOwner = typename AfxHandlerClass<decltype(Handler)>::type;

template <auto Handler>
BOOL AfxCallCommand(CWnd* target, UINT, NMHDR*, LRESULT*)
{
    (static_cast<AfxHandlerOwner<Handler>*>(target)->*Handler)();
    return TRUE;
}

template <auto Handler>
BOOL AfxCallCommandEx(CWnd* target, UINT id, NMHDR*, LRESULT*)
{
    return (static_cast<AfxHandlerOwner<Handler>*>(target)->*Handler)(id);
}

template <auto Handler>
BOOL AfxCallNotifyEx(CWnd* target, UINT id, NMHDR* header, LRESULT* result)
{
    return (static_cast<AfxHandlerOwner<Handler>*>(target)->*Handler)(id, header, result);
}

template <auto Handler>
BOOL AfxCallInitDialog(CWnd* target, UINT, NMHDR*, LRESULT* result)
{
    *result = (static_cast<AfxHandlerOwner<Handler>*>(target)->*Handler)();
    return TRUE;
}

// Menu and accelerator commands: void handler().
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY CommandEntry(UINT id)
{
    return {WM_COMMAND, 0, id, id, &AfxCallCommand<Handler>};
}

// Commands whose handler answers whether it handled them: BOOL handler(UINT id).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY CommandExEntry(UINT id)
{
    return {WM_COMMAND, 0, id, id, &AfxCallCommandEx<Handler>};
}

// Notifications from a range of control ids: BOOL handler(UINT id, NMHDR*, LRESULT*).
template <auto Handler>
constexpr AFX_MSGMAP_ENTRY NotifyExRangeEntry(UINT code, UINT firstId, UINT lastId)
{
    return {WM_NOTIFY, code, firstId, lastId, &AfxCallNotifyEx<Handler>};
}

template <auto Handler>
constexpr AFX_MSGMAP_ENTRY InitDialogEntry()
{
    return {WM_INITDIALOG, 0, 0, 0, &AfxCallInitDialog<Handler>};
}

#endif
