#pragma once
// Owners of USER handles: popup menus, icons, event hooks and windows hooks
// (the GDI objects are in gdi.h, the owner itself in common/win32/handle_owner.h).
#include <windows.h>

#include "handle_owner.h"

// A menu made with CreateMenu or CreatePopupMenu (not a window's own menu).
// Release gives it up when it becomes another menu's submenu (its parent
// destroys it then).
using MenuHandle = HandleOwner<HMENU, DestroyMenu>;
// An icon made with LoadImage without LR_SHARED, CreateIconIndirect or SHGetFileInfo.
using IconHandle = HandleOwner<HICON, DestroyIcon>;
// An event hook made with SetWinEventHook.
using WinEventHookHandle = HandleOwner<HWINEVENTHOOK, UnhookWinEvent>;
// A hook made with SetWindowsHookEx.
using WindowsHookHandle = HandleOwner<HHOOK, UnhookWindowsHookEx>;
