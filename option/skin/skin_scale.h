#pragma once
// The scale the skinned windows are drawn at: the percent of the skin set in
// use, chosen from the display's DPI at start and changed when the window
// moves to a display of another scale. Every layout number the program's own
// code holds (offsets, row heights, font heights) goes through S(), so it
// matches the pictures of the set. Portable.
#include "ui_scale.h"

void SetSkinScale(int percent);
const UiScale& SkinScale();
// `logical`, a length or offset of the 100 % layout, at the skin scale.
inline int S(int logical) { return SkinScale().Scale(logical); }
