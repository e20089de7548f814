#pragma once
// Moving the open skinned windows into the skin set of another scale (the
// window went to a display of another DPI, or the display's scale changed).
// Nothing is made again: every window and control keeps its state (an open
// list, a rename, a recording) and only takes the pictures, places and fonts
// of the new set.
#include <windows.h>

#include "ui_scale.h"

struct SkinPictures;

struct SkinRescale {
    UiScale from;
    UiScale to;
    // The parent's four window pictures in the new set, or null for a window
    // that has its own skin (a page, a dialog).
    const SkinPictures* pictures = nullptr;
};

// Sent (wParam 0, lParam a SkinRescale*) to a window once its parent has moved
// it to its place in the new layout: a skinned window loads its own skin
// again, a control cuts its pictures again and takes the new fonts.
UINT SkinRescaleMessage();

// A rectangle placed at `from`, at `to`, edge by edge.
RECT RescaleRect(const RECT& rect, const UiScale& from, const UiScale& to);
// Where `child` lies in its parent's client area.
RECT RectInParent(HWND child);
// Moves each child of `parent` to its place at the new scale without drawing,
// then sends it SkinRescaleMessage.
void RescaleChildren(HWND parent, const SkinRescale& change);
