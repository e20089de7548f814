#include "assign_dialog.h"

#include <string>

#include "debug_output.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "option_context.h"
#include "option_text_ids.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"

namespace {

enum SetupEntry { kTitleEntry = 1, kCategoryEntry = 2, kAcceptEntry = 3, kCancelEntry = 4, kCloseEntry = 5,
                  kPageEntry = 6 };
constexpr UINT kTextAccept = option_text::kOk;
constexpr UINT kTextCancel = option_text::kCancel;
constexpr int kCategoryMenuWidth = 235;
constexpr COLORREF kTitleColor = RGB(100, 100, 100);

UINT CategoryText(uint8_t functionClass) {
    for (const FunctionClassInfo& info : FunctionClassTable())
        if (info.functionClass == functionClass) return static_cast<UINT>(info.textId);
    return 0;
}

}  // namespace

AssignDialog::AssignDialog(const ButtonAssignment& record, int buttonIndex, const MacroLibrary& library,
                           const OptionContext& context)
    : CSkinDialog(skin_template::kPopup, u"skin_Setup.ini"), model_(record, buttonIndex), library_(library), context_(context) {}

AssignDialog::~AssignDialog() = default;

void AssignDialog::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    title_ = ToRect(skin.ReadEntry(kTitleEntry).rect);
    KeepScaled(title_);
    category_ = CSkinPage::MakeButton(hwnd(), skin, kCategoryEntry, pictures);
    if (category_) category_->SetPageCaption(15, CaptionAlign::kLeft);
    accept_ = CSkinPage::MakeButton(hwnd(), skin, kAcceptEntry, pictures);
    if (accept_) {
        accept_->SetText(context_.Text(kTextAccept));
        accept_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    cancel_ = CSkinPage::MakeButton(hwnd(), skin, kCancelEntry, pictures);
    if (cancel_) {
        cancel_->SetText(context_.Text(kTextCancel));
        cancel_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    close_ = CSkinPage::MakeButton(hwnd(), skin, kCloseEntry, pictures);
    const SkinRect area = skin.ReadEntry(kPageEntry).rect;
    for (uint8_t cls = kClassDefault; cls <= kClassDisabled; ++cls) {
        auto page = std::make_unique<AssignPage>(cls, model_, library_, context_);
        if (!page->CreateAt(hwnd(), area)) {
            DebugOut(L"AssignDialog: a page could not be made\n");
            continue;
        }
        pages_[cls - 1] = std::move(page);
    }
}

BOOL AssignDialog::OnInitDialog() {
    const std::wstring title = L"G" + std::to_wstring(model_.ButtonNumber());
    SetWindowTextW(hwnd(), title.c_str());
    // Centred over the window that opened it.
    if (HWND owner = GetWindow(hwnd(), GW_OWNER)) {
        RECT o{}, d{};
        GetWindowRect(owner, &o);
        GetWindowRect(hwnd(), &d);
        SetWindowPos(hwnd(), nullptr, o.left + ((o.right - o.left) - (d.right - d.left)) / 2,
                     o.top + ((o.bottom - o.top) - (d.bottom - d.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    model_.Open();
    ShowPage(model_.Page());
    return TRUE;
}

void AssignDialog::OnDestroy() {
    // The key page gives the keyboard back on every way out.
    for (auto& page : pages_)
        if (page) page->SetShown(false);
    CSkinDialog::OnDestroy();
}

AssignPage* AssignDialog::PageOf(uint8_t functionClass) const {
    if (functionClass < kClassDefault || functionClass > kClassDisabled) return nullptr;
    return pages_[functionClass - 1].get();
}

void AssignDialog::ShowPage(uint8_t functionClass) {
    if (shown_ != functionClass)
        if (AssignPage* from = PageOf(shown_)) from->SetShown(false);
    shown_ = functionClass;
    if (AssignPage* to = PageOf(functionClass)) to->SetShown(true);
    if (category_) {
        category_->SetText(context_.Text(CategoryText(functionClass)));
        InvalidateRect(category_->hwnd(), nullptr, FALSE);
    }
}

void AssignDialog::ShowCategoryMenu() {
    if (!category_) return;
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (const FunctionClassInfo& info : FunctionClassTable())
        menu.AddItem(static_cast<UINT>(assign::kCategoryCommand + info.functionClass),
                     context_.Text(static_cast<UINT>(info.textId)));
    menu.SetWidth(kCategoryMenuWidth);
    menu.TrackUnder(hwnd(), *category_);
}

void AssignDialog::OnOK() {
    if (AssignPage* page = PageOf(shown_)) page->Finish();
    if (onAccept_) onAccept_(model_.Accept());
    EndDialog(IDOK);
}

void AssignDialog::OnCancel() {
    // Esc closes an open macro list first, as it does in the main window; a
    // close request (Option being closed) ends the dialog at once.
    if (!closeRequested_)
        if (AssignPage* page = PageOf(shown_); page && page->CloseDropDown()) return;
    EndDialog(IDCANCEL);
}

LRESULT AssignDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager answers WM_CLOSE with a posted Cancel.
    if (message == WM_CLOSE) closeRequested_ = true;
    return CSkinDialog::HandleMessage(message, wParam, lParam);
}

bool AssignDialog::OnDialogCommand(WORD id, WORD, HWND control) {
    if (!control) {
        const int cls = id - assign::kCategoryCommand;
        if (cls >= kClassDefault && cls <= kClassDisabled) {
            model_.ChooseCategory(static_cast<uint8_t>(cls));
            ShowPage(static_cast<uint8_t>(cls));
            return true;
        }
        return false;  // Enter and Esc: OnOK and OnCancel
    }
    if (category_ && control == category_->hwnd()) {
        if (AssignPage* page = PageOf(shown_)) page->CloseDropDown();
        ShowCategoryMenu();
    } else if (accept_ && control == accept_->hwnd()) {
        OnOK();
    } else if ((cancel_ && control == cancel_->hwnd()) || (close_ && control == close_->hwnd())) {
        EndDialog(IDCANCEL);
    } else {
        return false;
    }
    return true;
}

void AssignDialog::OnBackgroundPress(POINT) {
    if (AssignPage* page = PageOf(shown_)) page->CloseDropDown();
}

void AssignDialog::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, SkinFont(26));
    SetTextColor(dc, kTitleColor);
    DrawSkinText(dc, L"G" + std::to_wstring(model_.ButtonNumber()), title_,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
}
