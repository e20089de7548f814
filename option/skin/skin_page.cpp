#include "skin_page.h"

std::unique_ptr<CSkinButton> CSkinPage::MakeButton(HWND parent, const SkinDescription& skin, int entry,
                                                   const SkinPictures& pictures) {
    auto button = std::make_unique<CSkinButton>();
    if (!button->CreateFromSkin(parent, skin.ReadEntry(entry), pictures)) return nullptr;
    return button;
}

bool CSkinPage::CreateAt(HWND parent, const SkinRect& area) {
    if (!CreateModeless(parent)) return false;
    // The skin sized the page from its picture; the parent's area places it.
    SetWindowPos(hwnd(), nullptr, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), SW_HIDE);
    return true;
}

void CSkinPage::OnOK() {
    if (HWND top = GetAncestor(hwnd(), GA_ROOT); top && top != hwnd()) PostMessageW(top, WM_COMMAND, IDOK, 0);
}

void CSkinPage::OnCancel() {
    if (HWND top = GetAncestor(hwnd(), GA_ROOT); top && top != hwnd()) PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
}
