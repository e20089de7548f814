#include "scroll_limit_window.h"

#include "list_box_model.h"
#include "scroll_bar_geometry.h"
#include "skin_control.h"

namespace {

constexpr wchar_t kLimitClass[] = L"GmSkinScrollLimit";
constexpr wchar_t kLimitName[] = L"LIMIT";

}  // namespace

bool CScrollLimitWindow::Create(HWND frame) {
    CreateParams p =
        SkinControlParams(kLimitClass, SkinRect{0, 0, 0, 0}, frame, kLimitWindowId, kSkinControlStyle | WS_CLIPCHILDREN);
    p.title = kLimitName;
    return CWindow::Create(p);
}

LRESULT CScrollLimitWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_COMPAREITEM:
        case WM_DELETEITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_CTLCOLORLISTBOX:
            if (owner_) return SendMessageW(owner_, message, wParam, lParam);
            break;
        case ListRowEditor::kRowEditedMessage:
            // A list edited in place tells its parent; the owner is the one to hear it.
            if (owner_) PostMessageW(owner_, message, wParam, lParam);
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // the list covers it
        default:
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}
