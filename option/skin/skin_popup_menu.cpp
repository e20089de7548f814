#include "skin_popup_menu.h"

#include "skin_button.h"

#include <algorithm>
#include <vector>

#include "gdi.h"
#include "gdi_cache.h"
#include "module.h"
#include "owner_draw_menu.h"
#include "wide_text.h"
#include "skin_resource.h"
#include "skin_scale.h"

namespace {

// The menus alive on this thread: item data is only trusted when one of them owns it.
thread_local std::vector<CSkinPopupMenu*> t_liveMenus;

// Where the skin's own arrow picture is missing: a small triangle in the text colour.
void DrawSubmenuArrow(HDC dc, const RECT& rc, COLORREF color) {
    const int x = rc.right - S(19) + S(6);
    const int mid = (rc.top + rc.bottom) / 2;
    const POINT points[3] = {{x, mid - S(4)}, {x + S(4), mid}, {x, mid + S(4)}};
    SelectGuard selectBrush(dc, CachedBrush(color));
    SelectGuard selectPen(dc, CachedPen(color));
    Polygon(dc, points, 3);
}

}  // namespace

CSkinPopupMenu::CSkinPopupMenu(HFONT font, int itemHeight)
    : menu_(CreatePopupMenu()), font_(font), model_(itemHeight) {
    t_liveMenus.push_back(this);
    // Whatever window tracks the menu hands its items' measure and draw calls here.
    SetOwnerDrawMenuRouter(OwnerDrawMenuRouter{&CSkinPopupMenu::RouteMeasureItem, &CSkinPopupMenu::RouteDrawItem});
}

CSkinPopupMenu::~CSkinPopupMenu() {
    Destroy();
    t_liveMenus.erase(std::remove(t_liveMenus.begin(), t_liveMenus.end(), this), t_liveMenus.end());
}

bool CSkinPopupMenu::AddItem(UINT id, const std::wstring& text, HMENU submenu, int mark) {
    HMENU menu = menu_.get();
    if (!menu) return false;
    const PopupMenuItem& item = model_.AddItem(id, Narrow16(text), submenu != nullptr, mark);
    const auto data = reinterpret_cast<LPCWSTR>(&item);
    if (item.separator) return AppendMenuW(menu, MF_OWNERDRAW | MF_SEPARATOR, 0, data) != FALSE;
    if (submenu) return AppendMenuW(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), data);
    return AppendMenuW(menu, MF_OWNERDRAW, id, data) != FALSE;
}

BOOL CSkinPopupMenu::Track(HWND owner, int x, int y) {
    if (!menu_) return FALSE;
    return TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

void CSkinPopupMenu::Destroy() {
    if (HMENU menu = menu_.get()) {
        // Submenus belong to whoever made them: take them out before the menu goes.
        for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
            if (GetSubMenu(menu, i)) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
        menu_.Reset();
    }
    model_.Clear();
}

CSkinPopupMenu* CSkinPopupMenu::OwnerOf(ULONG_PTR itemData) {
    const auto* item = reinterpret_cast<const PopupMenuItem*>(itemData);
    if (!item) return nullptr;
    for (CSkinPopupMenu* menu : t_liveMenus)
        if (menu->model_.Owns(item)) return menu;
    return nullptr;
}

bool CSkinPopupMenu::RouteMeasureItem(MEASUREITEMSTRUCT* item) {
    CSkinPopupMenu* menu = OwnerOf(item->itemData);
    if (!menu) return false;
    menu->Measure(item);
    return true;
}

bool CSkinPopupMenu::RouteDrawItem(const DRAWITEMSTRUCT* item) {
    CSkinPopupMenu* menu = OwnerOf(item->itemData);
    if (!menu) return false;
    menu->Draw(item);
    return true;
}

void CSkinPopupMenu::Measure(MEASUREITEMSTRUCT* item) {
    const auto* entry = reinterpret_cast<const PopupMenuItem*>(item->itemData);
    const PopupItemSize size = model_.Measure(*entry);
    item->itemWidth = static_cast<UINT>(std::max(0, size.width));
    item->itemHeight = static_cast<UINT>(std::max(0, size.height));
}

void CSkinPopupMenu::Draw(const DRAWITEMSTRUCT* item) const {
    const auto* entry = reinterpret_cast<const PopupMenuItem*>(item->itemData);
    HDC dc = item->hDC;
    RECT rc = item->rcItem;
    const PopupItemLook look = model_.Look(*entry, (item->itemState & ODS_SELECTED) != 0);
    FillRect(dc, &rc, CachedBrush(look.fill));
    if (entry->separator) {
        SelectGuard select(dc, CachedPen(look.text));
        const int y = rc.top + (rc.bottom - rc.top) / 2;
        MoveToEx(dc, rc.left, y, nullptr);
        LineTo(dc, rc.right, y);
    } else {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, look.text);
        SelectGuard select(dc, font_);
        RECT text = rc;
        text.left += S(2);
        const std::wstring caption(entry->text.begin(), entry->text.end());
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (entry->opensSubmenu) {
            const int side = S(16);
            if (HICON icon = SkinResourceIcon(kSubmenuIconId, L"submenu_145.ico", side)) {
                DrawIconEx(dc, rc.right - S(19), rc.top + (rc.bottom - rc.top - side) / 2, icon, side, side, 0,
                           nullptr, DI_NORMAL);
            } else {
                DrawSubmenuArrow(dc, rc, look.text);
            }
        }
    }
    // The platform must not paint over the item (its own submenu arrow, say).
    ExcludeClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
}

void CSkinPopupMenu::TrackUnder(HWND owner, CSkinButtonBase& button, int lift) {
    RECT rc{};
    GetWindowRect(button.hwnd(), &rc);
    Track(owner, rc.left, rc.bottom - S(lift));
    // The menu's own loop ended: a message wakes the owner's loop at once.
    PostMessageW(owner, WM_NULL, 0, 0);
    Destroy();
    button.SetHover(false);
    InvalidateRect(button.hwnd(), nullptr, FALSE);
}
