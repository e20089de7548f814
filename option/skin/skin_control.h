#pragma once
// What every skinned child control is created with: its class, the rectangle
// its skin gives it, its parent and its id.
#include <windows.h>

#include "button_look.h"
#include "button_pos.h"
#include "window.h"

// The face of every text that the skinned windows draw.
inline constexpr wchar_t kSkinFontFace[] = L"Arial";
// The skin face at `height` and `width` of the 100 % layout, scaled to the
// skin set in use (cached for the thread, not owned).
HFONT SkinFont(int height, int width = 0, int weight = FW_NORMAL);

// A child of `parent` at `rect` (the parent's client pixels) with control id
// `id`: the control's skin entry number, so the dialog manager and GetDlgItem
// find it, or 0 for a control that has none. A rectangle turned inside out
// gives a window of no size, as a missing entry does. `style` is the whole
// window style; a control adds its own bits to the visible child's.
inline constexpr DWORD kSkinControlStyle = WS_CHILD | WS_VISIBLE;
CWindow::CreateParams SkinControlParams(const wchar_t* className, const SkinRect& rect, HWND parent, int id,
                                        DWORD style = kSkinControlStyle);

// The focus mark shows on the control with the focus once the keyboard has
// been used in its window (the window's keyboard cues are on).
bool ShowsFocusMark(HWND control);
// Draws the focus mark inside `rc` (the control's face in `dc`).
void DrawFocusMark(HDC dc, const RECT& rc, COLORREF color = kFocusMarkColor);
