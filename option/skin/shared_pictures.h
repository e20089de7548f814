#pragma once
// Pictures that many windows and controls show, decoded once for the run:
// Option's resource bitmaps (the scroll-bar parts of every list, the icons
// of the step rows) and the loose pictures of a skins folder (the slider
// thumb). The platform shares no bitmap between loads (LR_SHARED keeps only
// icons and cursors), so each load was a new decode and a handle nobody freed.
#include <windows.h>

#include <string>

// Bitmap resource `id` of the program; not owned, valid until the program
// ends. Null when the program has no such bitmap.
HBITMAP SharedResourceBitmap(int id);

// The .bmp file at `path`, decoded the first time it is asked for; not owned,
// valid until the program ends. Null (with one debug line naming `what`) when
// it cannot be read (and tried again the next time).
HBITMAP SharedPictureFile(const std::wstring& path, const wchar_t* what);
