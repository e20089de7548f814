#pragma once
// Option's own pictures (scroll-bar parts, row icons, the submenu arrow) at
// the skin scale: the resources inside Option.exe at 100 %, the files of the
// same name in the set folder at the other scales. A missing file gives the
// 100 % resource, never nothing. Handles are shared: kept for the process,
// never deleted by the caller.
#include <windows.h>

HBITMAP SkinResourceBitmap(int resourceId, const wchar_t* fileName);
// The icon at `side` x `side` pixels.
HICON SkinResourceIcon(int resourceId, const wchar_t* fileName, int side);
