#include "item_bar.h"

#include "gdi_cache.h"
#include "scroll_bar_geometry.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "skin_resource.h"
#include "skin_scroll_bar.h"
#include "wide_text.h"

namespace {

constexpr int kRenameId = 4011;
constexpr int kRenameLimit = 20;
// Multi-line, so the text can be centred.
constexpr DWORD kRenameStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE;

void Show(const std::unique_ptr<CSkinButton>& button, bool show) {
    if (button) ShowWindow(button->hwnd(), show ? SW_SHOW : SW_HIDE);
}

}  // namespace

void CItemBar::Configure(const Layout& layout, Handlers handlers) {
    layout_ = layout;
    handlers_ = std::move(handlers);
}

void CItemBar::CreateList(HWND page, const SkinDescription& skin) {
    page_ = page;
    list_ = std::make_unique<CSkinListBox>();
    if (list_->Create(page, skin.ReadEntry(layout_.listEntry).rect, layout_.listId, kSkinListStyle, ListBoxColors{})) {
        list_->SetDropDown(true);
        auto bitmap = SkinResourceBitmap(ScrollBitmapGrid::kResourceId, L"scrollbar_368.bmp");
        CSkinScrollBar::SkinList(list_->hwnd(), bitmap);
        CSkinScrollBar::HideSkinned(list_->hwnd());
    } else {
        list_.reset();
    }
}

std::unique_ptr<CSkinButton> CItemBar::Button(const SkinDescription& skin, int entry, const SkinPictures& pictures,
                                              void (CItemBar::*clicked)()) {
    auto button = std::make_unique<CSkinButton>();
    if (!button->CreateFromSkin(page_, skin.ReadEntry(entry), pictures)) return nullptr;
    button->onClicked = [this, clicked, window = button->hwnd()] {
        if (handlers_.beforeClick) handlers_.beforeClick(window);
        (this->*clicked)();
    };
    return button;
}

void CItemBar::CreateButtons(HWND page, const SkinDescription& skin, const SkinPictures& pictures) {
    page_ = page;
    dropDown_ = Button(skin, layout_.dropDownEntry, pictures, &CItemBar::ToggleDropDown);
    if (dropDown_) {
        dropDown_->SetCheckMode(true);
        dropDown_->SetPageCaption(15, CaptionAlign::kLeft);
    }
    newButton_ = Button(skin, layout_.newEntry, pictures, &CItemBar::Add);
    deleteButton_ = Button(skin, layout_.deleteEntry, pictures, &CItemBar::Delete);
    moreButton_ = Button(skin, layout_.moreEntry, pictures, &CItemBar::ShowMenu);
    nameButton_ = Button(skin, layout_.nameEntry, pictures, &CItemBar::StartRename);
    if (nameButton_) nameButton_->SetPageCaption(15, CaptionAlign::kLeft);
}

void CItemBar::SetAccessibleName(const std::wstring& name) {
    if (list_) list_->SetAccessibleName(name);
    if (renameBox_) renameBox_->SetAccessibleName(name);
}

void CItemBar::CreateRenameBox(HWND page, const SkinDescription& skin) {
    page_ = page;
    renameBox_ = std::make_unique<CBitmapEdit>();
    if (renameBox_->Create(page, skin.ReadEntry(layout_.renameEntry).rect, kRenameStyle, kRenameId)) {
        renameBox_->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
        renameBox_->ApplyFont();
        renameBox_->SetLimit(kRenameLimit);
        ShowWindow(renameBox_->hwnd(), SW_HIDE);
    } else {
        renameBox_.reset();
    }
}

void CItemBar::AddMenuItem(const ItemBarMenuItem& item, std::function<void()> chosen) {
    menu_.push_back(MenuEntry{item, std::move(chosen)});
}

// ---- commands ----------------------------------------------------------------------

void CItemBar::CloseFor(HWND control) {
    using Source = ItemBarModel::Source;
    Source source = Source::kOther;
    if (list_ && control == list_->hwnd()) source = Source::kList;
    else if (dropDown_ && control == dropDown_->hwnd()) source = Source::kDropDown;
    else if (IsRenameBox(control)) source = Source::kRenameBox;
    const ItemBarModel::Closing closing = model_.ClosedBy(source);
    if (closing.dropDown) CloseDropDown();
    if (closing.rename) FinishRename();
}

bool CItemBar::OnCommand(WORD id, WORD code, HWND control) {
    if (!control) {
        for (const MenuEntry& entry : menu_) {
            if (entry.item.command != id) continue;
            if (entry.chosen) entry.chosen();
            return true;
        }
        return false;
    }
    if (!list_ || control != list_->hwnd()) return false;
    if (code == LBN_SELCHANGE) {
        const int row = list_->GetCurSel();
        if (row >= 0 && handlers_.picked) handlers_.picked(row);
    }
    return true;
}

void CItemBar::ToggleDropDown() {
    if (dropDown_ && dropDown_->GetCheck()) {
        OpenDropDown();
    } else {
        CloseDropDown();
    }
}

void CItemBar::Add() {
    if (handlers_.added) handlers_.added();
}

void CItemBar::Delete() {
    if (handlers_.deleted) handlers_.deleted();
}

void CItemBar::ShowMenu() {
    if (!moreButton_) return;
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (const MenuEntry& entry : menu_)
        menu.AddItem(entry.item.command, handlers_.text ? handlers_.text(entry.item.text) : std::wstring());
    menu.SetWidth(30);
    menu.TrackUnder(page_, *moreButton_);
}

// ---- drop-down and rename ----------------------------------------------------------

void CItemBar::ShowName(const std::wstring& name) {
    if (dropDown_) dropDown_->SetText(name);
    if (nameButton_) nameButton_->SetText(name);
    if (renameBox_ && !model_.Renaming()) renameBox_->SetText(name);
    // Both captions change together, at once.
    if (dropDown_) UpdateWindow(dropDown_->hwnd());
    if (nameButton_) UpdateWindow(nameButton_->hwnd());
}

void CItemBar::OpenDropDown() {
    model_.OpenDropDown();
    // The drop-down's tip would cover the list's first rows.
    if (dropDown_) dropDown_->HoldTooltip(true);
    if (list_) {
        CSkinScrollBar::ShowSkinned(list_->hwnd());
        if (handlers_.fillList) handlers_.fillList();
        // The wheel and the arrow keys go to the open list.
        SetFocus(list_->hwnd());
    }
    Show(nameButton_, false);
    if (layout_.listCoversButtons)
        for (auto* button : {&newButton_, &deleteButton_, &moreButton_}) Show(*button, false);
    if (renameBox_) ShowWindow(renameBox_->hwnd(), SW_HIDE);
}

void CItemBar::CloseDropDown() {
    if (dropDown_) {
        dropDown_->SetCheck(0);
        dropDown_->HoldTooltip(false);
    }
    if (!model_.CloseDropDown()) return;
    if (list_ && dropDown_) list_->PassFocusTo(dropDown_->hwnd());
    if (list_) CSkinScrollBar::HideSkinned(list_->hwnd());
    Show(nameButton_, true);
    if (layout_.listCoversButtons)
        for (auto* button : {&newButton_, &deleteButton_, &moreButton_}) Show(*button, true);
}

void CItemBar::StartRename() {
    if (!renameBox_ || !handlers_.renameBegins) return;
    const std::optional<std::u16string> name = handlers_.renameBegins();
    if (!name) return;
    renameBox_->SetText(Wide(*name));
    ShowWindow(renameBox_->hwnd(), SW_SHOW);
    SetFocus(renameBox_->hwnd());
    SendMessageW(renameBox_->hwnd(), EM_SETSEL, 0, -1);
    Show(nameButton_, false);
}

void CItemBar::FinishRename() {
    if (!model_.Renaming()) return;
    const std::u16string typed = Narrow16(TypedName());
    model_.EndRename();
    if (handlers_.renameEnds) handlers_.renameEnds(typed);
    if (renameBox_) ShowWindow(renameBox_->hwnd(), SW_HIDE);
    if (nameButton_) {
        nameButton_->SetCheck(0);
        ShowWindow(nameButton_->hwnd(), SW_SHOW);
    }
}

bool CItemBar::CancelRename() {
    if (!model_.Renaming()) return false;
    if (renameBox_ && handlers_.currentName) renameBox_->SetText(Wide(handlers_.currentName()));
    FinishRename();  // the unchanged name is refused and shown again
    return true;
}

bool CItemBar::CloseTransients() {
    const bool open = model_.DropDownOpen() || model_.Renaming();
    CloseDropDown();
    FinishRename();
    return open;
}
