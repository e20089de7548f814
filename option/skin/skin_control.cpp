#include "skin_control.h"

#include <algorithm>

#include "button_look.h"
#include "gdi_cache.h"
#include "skin_scale.h"

CWindow::CreateParams SkinControlParams(const wchar_t* className, const SkinRect& rect, HWND parent, int id,
                                        DWORD style) {
    CWindow::CreateParams p;
    p.className = className;
    p.title = L"";
    p.style = style;
    p.x = rect.left;
    p.y = rect.top;
    p.width = std::max(0, rect.Width());
    p.height = std::max(0, rect.Height());
    p.parent = parent;
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return p;
}

HFONT SkinFont(int height, int width, int weight) { return CachedFont(kSkinFontFace, S(height), S(width), weight); }

bool ShowsFocusMark(HWND control) {
    if (!control || GetFocus() != control) return false;
    // The window's state, which its controls need not have been told of.
    HWND root = GetAncestor(control, GA_ROOT);
    return (SendMessageW(root ? root : control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void DrawFocusMark(HDC dc, const RECT& rc, COLORREF color) {
    const FocusMark mark = FocusMarkFor(rc.right - rc.left, rc.bottom - rc.top, SkinScale());
    if (mark.thickness == 0) return;
    const int x0 = rc.left + mark.left, y0 = rc.top + mark.top;
    const int x1 = rc.left + mark.right, y1 = rc.top + mark.bottom, t = mark.thickness;
    const RECT edges[4] = {{x0, y0, x1, y0 + t}, {x0, y1 - t, x1, y1}, {x0, y0 + t, x0 + t, y1 - t},
                           {x1 - t, y0 + t, x1, y1 - t}};
    for (const RECT& edge : edges) FillRect(dc, &edge, CachedBrush(color));
}
