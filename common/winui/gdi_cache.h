#pragma once
// The fonts, brushes and pens that the calling thread paints with, made once
// and kept until the thread ends. Every font of the programs is made here, so
// there is one way of making one; painting code asks for what it needs on
// every paint instead of creating and deleting it each time.
//
// The handles are not owned by the caller: never delete them. They stay valid
// for the life of the thread that asked, and only that thread may select them
// (GDI objects are not shared between threads here, so none is locked). The
// programs use a handful of faces and colours, so the caches stay small.
#include <windows.h>

// The font rule of the skinned windows: `height` in pixels, `width` 0 for the
// face's own proportions, no italic, underline or strike-out, default
// precision and quality, the sans-serif family.
HFONT CachedFont(const wchar_t* face, int height, int width = 0, int weight = FW_NORMAL);
// Solid brush of one colour.
HBRUSH CachedBrush(COLORREF color);
// Solid pen, one pixel wide, of one colour.
HPEN CachedPen(COLORREF color);
