#include "skin_control.h"

#include <algorithm>

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
