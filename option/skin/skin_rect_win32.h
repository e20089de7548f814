#pragma once
// A skin rectangle as the platform's RECT and back: the same four edges, so
// a control can hand its skin's places to Win32 calls and read theirs.
#include <windows.h>

#include "button_pos.h"

inline RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline SkinRect ToSkinRect(const RECT& r) { return SkinRect{r.left, r.top, r.right, r.bottom}; }
