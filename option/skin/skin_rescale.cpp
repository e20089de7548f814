#include "skin_rescale.h"

#include <vector>

UINT SkinRescaleMessage() {
    static const UINT message = RegisterWindowMessageW(L"GmSkinRescale");
    return message;
}

RECT RescaleRect(const RECT& rect, const UiScale& from, const UiScale& to) {
    return RECT{Rescale(rect.left, from, to), Rescale(rect.top, from, to), Rescale(rect.right, from, to),
                Rescale(rect.bottom, from, to)};
}

RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void RescaleChildren(HWND parent, const SkinRescale& change) {
    // The list first: a child's handling may add or remove children.
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) {
        if (!IsWindow(child)) continue;
        const RECT placed = RescaleRect(RectInParent(child), change.from, change.to);
        SetWindowPos(child, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
        SendMessageW(child, SkinRescaleMessage(), 0, reinterpret_cast<LPARAM>(&change));
    }
}
