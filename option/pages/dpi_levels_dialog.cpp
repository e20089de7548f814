#include "dpi_levels_dialog.h"

#include "debug_output.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "option_context.h"
#include "option_text_ids.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_folder.h"
#include "skin_page.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "wide_text.h"

namespace {

enum DpiEntry {
    kCountCaptionEntry = 1,
    kLevelsCaptionEntry = 2,
    kCountEntry = 3,
    kFirstRowEntry = 4,  // rows at 4, 7, 10, 13, 16; caption +1, value +2
    kSliderEntry = 19,
    kAcceptEntry = 20,
    kCancelEntry = 21,
    kCloseEntry = 22,
};

constexpr int kSliderId = 602;
constexpr UINT kTextCountCaption = option_text::kLevelsInUse;
constexpr UINT kTextLevelsCaption = option_text::kDpiOfEachLevel;
constexpr UINT kTextLevel = option_text::kLevelRow;
constexpr UINT kTextAccept = option_text::kOk;
constexpr UINT kTextCancel = option_text::kCancel;

constexpr COLORREF kCaptionColor = RGB(100, 100, 100);
constexpr COLORREF kActiveFrame = RGB(128, 21, 153);
constexpr COLORREF kOtherFrame = RGB(20, 18, 25);
constexpr COLORREF kRowText = RGB(200, 194, 212);
constexpr COLORREF kValueText = RGB(251, 251, 251);
// The block the rows lie in, repainted as one when the choice changes.
constexpr RECT kRowsArea{20, 140, 411, 216};

}  // namespace

DpiLevelsDialog::DpiLevelsDialog(performance::DpiLevels levels, const OptionContext& context)
    : CSkinDialog(skin_template::kPopup, skin_files::kConfigDpi), levels_(levels), context_(context) {}

void DpiLevelsDialog::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    captions_[0] = ToRect(skin.ReadEntry(kCountCaptionEntry).rect);
    captions_[1] = ToRect(skin.ReadEntry(kLevelsCaptionEntry).rect);
    KeepScaled(captions_[0]);
    KeepScaled(captions_[1]);
    for (int i = 0; i < kDpiLevels; ++i) {
        rows_[i] = ToRect(skin.ReadEntry(kFirstRowEntry + 3 * i).rect);
        rowCaptions_[i] = ToRect(skin.ReadEntry(kFirstRowEntry + 3 * i + 1).rect);
        rowValues_[i] = ToRect(skin.ReadEntry(kFirstRowEntry + 3 * i + 2).rect);
        KeepScaled(rows_[i]);
        KeepScaled(rowCaptions_[i]);
        KeepScaled(rowValues_[i]);
    }
    countButton_ = CSkinPage::MakeButton(hwnd(), skin, kCountEntry, pictures);
    if (countButton_) countButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    acceptButton_ = CSkinPage::MakeButton(hwnd(), skin, kAcceptEntry, pictures);
    if (acceptButton_) {
        acceptButton_->SetText(context_.Text(kTextAccept));
        acceptButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    cancelButton_ = CSkinPage::MakeButton(hwnd(), skin, kCancelEntry, pictures);
    if (cancelButton_) {
        cancelButton_->SetText(context_.Text(kTextCancel));
        cancelButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    closeButton_ = CSkinPage::MakeButton(hwnd(), skin, kCloseEntry, pictures);

    const SkinRect r = skin.ReadEntry(kSliderEntry).rect;
    slider_ = std::make_unique<CClickSlider>();
    if (slider_->Create(SkinsFolder() + L"slider_arrow_rect.bmp", r.left, r.top, r.right, r.bottom, hwnd(),
                        kSliderId)) {
        slider_->SetBitmap(ToRect(r), pictures.normal);
        slider_->SetRange(performance::kDpiMin, performance::kDpiMax);
        slider_->SetAccessibleName(context_.Text(option_text::kDpiOfEachLevel));
        slider_->SetValueUnit(context_.Text(option_text::kDpiCaption));
        slider_->SetPos(levels_.ActiveValue());
    } else {
        DebugOut(L"DpiLevelsDialog: the slider could not be made\n");
        slider_.reset();
    }
    ShowCount();
}

BOOL DpiLevelsDialog::OnInitDialog() {
    SetWindowTextW(hwnd(), context_.Text(option_text::kActiveLevelDpi).c_str());
    // Centred over the window that opened it.
    RECT box{}, over{};
    GetWindowRect(hwnd(), &box);
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner || !GetWindowRect(owner, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int x = over.left + (over.right - over.left - (box.right - box.left)) / 2;
    const int y = over.top + (over.bottom - over.top - (box.bottom - box.top)) / 2;
    SetWindowPos(hwnd(), HWND_TOP, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0, SWP_NOSIZE);
    ShowWindow(hwnd(), SW_SHOW);
    // The keyboard starts on the slider: Left and Right change the chosen level.
    if (slider_) SetFocus(slider_->Thumb().hwnd());
    return FALSE;
}

void DpiLevelsDialog::ShowCount() {
    if (!countButton_) return;
    countButton_->SetText(std::to_wstring(levels_.count));
    InvalidateRect(countButton_->hwnd(), nullptr, FALSE);
}

void DpiLevelsDialog::InvalidateRows() { InvalidateRect(hwnd(), &kRowsArea, FALSE); }

void DpiLevelsDialog::ShowCountMenu() {
    if (!countButton_) return;
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (int n = 1; n <= kDpiLevels; ++n) menu.AddItem(performance::kCountCommandBase + n, std::to_wstring(n));
    menu.SetWidth(54);
    menu.TrackUnder(hwnd(), *countButton_);
}

bool DpiLevelsDialog::OnDialogCommand(WORD id, WORD, HWND control) {
    if (!control) {
        if (levels_.ChooseCount(id)) {
            if (slider_) slider_->SetPos(levels_.ActiveValue());
            ShowCount();
            // The controls too: the dialog paints over them (no WS_CLIPCHILDREN).
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            return true;
        }
        return false;  // Enter and Esc: the dialog's own OK and Cancel
    }
    if (countButton_ && control == countButton_->hwnd()) {
        ShowCountMenu();
        return true;
    }
    if (acceptButton_ && control == acceptButton_->hwnd()) {
        EndDialog(IDOK);
        return true;
    }
    if ((cancelButton_ && control == cancelButton_->hwnd()) || (closeButton_ && control == closeButton_->hwnd())) {
        EndDialog(IDCANCEL);
        return true;
    }
    return false;
}

void DpiLevelsDialog::OnBackgroundPress(POINT at) {
    for (int i = 0; i < levels_.count; ++i) {
        if (!PtInRect(&rows_[i], at)) continue;
        if (levels_.Choose(i)) {
            if (slider_) slider_->SetPos(levels_.ActiveValue());
            InvalidateRows();
        }
        return;
    }
}

void DpiLevelsDialog::PaintOver(HDC dc, const RECT&) {
    {
        SelectGuard font(dc, SkinFont(15));
        SetTextColor(dc, kCaptionColor);
        DrawSkinText(dc, context_.Text(kTextCountCaption), captions_[0], DT_WORDBREAK | DT_NOPREFIX, true);
        DrawSkinText(dc, context_.Text(kTextLevelsCaption), captions_[1], DT_WORDBREAK | DT_NOPREFIX, true);
    }
    const std::u16string level = [this] {
        const std::wstring text = context_.Text(kTextLevel);
        return std::u16string(text.begin(), text.end());
    }();
    SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < levels_.count; ++i) {
        {
            SelectGuard pen(dc, CachedPen(i == levels_.active ? kActiveFrame : kOtherFrame));
            Rectangle(dc, rows_[i].left, rows_[i].top, rows_[i].right, rows_[i].bottom);
        }
        {
            SelectGuard font(dc, SkinFont(15));
            SetTextColor(dc, kRowText);
            DrawSkinText(dc, Wide(performance::RowCaption(level, i)), rowCaptions_[i],
                         DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX, false);
        }
        SelectGuard font(dc, SkinFont(18));
        SetTextColor(dc, i == levels_.active ? RGB(178, 70, 210) : kValueText);
        DrawSkinText(dc, std::to_wstring(levels_.values[i] * 100), rowValues_[i],
                     DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX, false);
    }
}

LRESULT DpiLevelsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSliderNotify && static_cast<int>(lParam) == kSliderId) {
        levels_.SetActiveValue(static_cast<int>(wParam));
        InvalidateRect(hwnd(), &rowValues_[levels_.active], FALSE);
        return 0;
    }
    return CSkinDialog::HandleMessage(message, wParam, lParam);
}
