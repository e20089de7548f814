#include "performance_page.h"

#include "debug_output.h"
#include "dpi_levels_dialog.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "performance_model.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_folder.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "wide_text.h"

namespace {

enum PerformanceEntry {
    kDpiSliderEntry = 6,
    kLevelsEntry = 7,
    kSpeedSliderEntry = 10,
    kPollingEntry = 13,
    kDpiLabelEntry = 14,
    kLevelBoxEntry = 5,
};

constexpr int kDpiSliderId = 600;
constexpr int kSpeedSliderId = 601;

// The painted captions: their places and texts, pairwise.
constexpr int kCaptionEntries[7] = {1, 2, 4, 8, 9, 11, 12};
constexpr UINT kCaptionTexts[7] = {option_text::kDpiCaption,          option_text::kActiveLevelCaption,
                                   option_text::kActiveLevelDpi,      option_text::kPollingRateCaption,
                                   option_text::kPointerSpeedCaption, option_text::kPointerSlow,
                                   option_text::kPointerFast};
constexpr UINT kTextLevels = option_text::kEditLevels;

constexpr COLORREF kCaptionColor = RGB(110, 110, 110);
constexpr COLORREF kLevelFrame = RGB(128, 21, 153);
constexpr COLORREF kLevelNumber = RGB(251, 251, 251);

std::unique_ptr<CClickSlider> MakeSlider(HWND parent, const SkinDescription& skin, int entry, int id,
                                          const SkinPictures& pictures, int minimum, int maximum) {
    const SkinRect r = skin.ReadEntry(entry).rect;
    auto slider = std::make_unique<CClickSlider>();
    if (!slider->Create(SkinsFolder() + L"slider_arrow_rect.bmp", r.left, r.top, r.right, r.bottom, parent, id)) {
        DebugOut(L"PerformancePage: a slider could not be made\n");
        return nullptr;
    }
    slider->SetBitmap(ToRect(r), pictures.normal);
    slider->SetRange(minimum, maximum);
    return slider;
}

}  // namespace

PerformancePage::PerformancePage(const OptionContext& context)
    : CSkinPage(skin_files::kPerformance), context_(context), session_(context.Session()) {}

void PerformancePage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    dpiSlider_ = MakeSlider(hwnd(), skin, kDpiSliderEntry, kDpiSliderId, pictures, performance::kDpiMin,
                            performance::kDpiMax);
    speedSlider_ = MakeSlider(hwnd(), skin, kSpeedSliderEntry, kSpeedSliderId, pictures, performance::kSpeedMin,
                              performance::kSpeedMax);
    if (dpiSlider_) {
        dpiSlider_->SetAccessibleName(context_.Text(option_text::kActiveLevelDpi));
        dpiSlider_->SetValueUnit(context_.Text(option_text::kDpiCaption));
    }
    if (speedSlider_) speedSlider_->SetAccessibleName(context_.Text(option_text::kPointerSpeedCaption));
    dpiLabel_ = std::make_unique<CSkinLabel>();
    if (!dpiLabel_->CreateFromSkin(hwnd(), skin.ReadEntry(kDpiLabelEntry))) dpiLabel_.reset();
    levelsButton_ = MakeButton(hwnd(), skin, kLevelsEntry, pictures);
    if (levelsButton_) {
        levelsButton_->SetText(context_.Text(kTextLevels));
        levelsButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    pollingButton_ = MakeButton(hwnd(), skin, kPollingEntry, pictures);
    if (pollingButton_) {
        pollingButton_->SetPageCaption(15, CaptionAlign::kLeft);
    }
    for (int i = 0; i < 7; ++i) {
        captions_[i] = ToRect(skin.ReadEntry(kCaptionEntries[i]).rect);
        KeepScaled(captions_[i]);
    }
    levelBox_ = ToRect(skin.ReadEntry(kLevelBoxEntry).rect);
    KeepScaled(levelBox_);
    Refresh();
}

void PerformancePage::Refresh() {
    const ProfileRecord* current = session_.current();
    if (!current || !hwnd()) return;
    const int dpi = performance::ActiveDpi(*current);
    if (dpiSlider_) dpiSlider_->SetPos(dpi);
    ShowDpi(dpi);
    if (speedSlider_) speedSlider_->SetPos(performance::SpeedSliderValue(current->MouseSpeed));
    ShowPollingCaption();
    InvalidateRect(hwnd(), &levelBox_, FALSE);
}

void PerformancePage::ShowDpi(int value) {
    if (dpiLabel_) dpiLabel_->SetText(Wide(performance::DpiText(value)));
}

void PerformancePage::ShowPollingCaption() {
    const ProfileRecord* current = session_.current();
    if (!pollingButton_ || !current) return;
    pollingButton_->SetText(context_.Text(performance::PollingCaptionText(current->PollingRate)));
    InvalidateRect(pollingButton_->hwnd(), nullptr, FALSE);
}

void PerformancePage::OnSlider(int id, int value) {
    ProfileRecord* current = session_.current();
    if (!current) return;
    if (id == kDpiSliderId && dpiSlider_) {
        performance::SetActiveDpi(*current, value);
        ShowDpi(performance::ActiveDpi(*current));
        // While the thumb moves only the label follows; the mouse gets the
        // value once, when the user lets go.
        if (dpiSlider_->Released()) context_.SettingsChanged();
    } else if (id == kSpeedSliderId && speedSlider_) {
        current->MouseSpeed = performance::MouseSpeedFor(value);
        if (speedSlider_->Released()) context_.SettingsChanged();
    }
}

void PerformancePage::ShowPollingMenu() {
    if (!pollingButton_) return;
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (const performance::PollingChoice& choice : performance::kPollingChoices)
        menu.AddItem(choice.command, context_.Text(choice.text));
    menu.SetWidth(48);
    menu.TrackUnder(hwnd(), *pollingButton_);
}

void PerformancePage::ShowLevelsDialog() {
    const ProfileRecord* shown = session_.current();
    if (!shown) return;
    DpiLevelsDialog dialog(performance::DpiLevels::From(*shown), context_);
    // The dialog runs its own message loop: a game may come to the front
    // meanwhile, and Option then reads the store again, records and all. The
    // levels belong to the profile they were opened for.
    const EditedProfile opened = session_.EditedNow();
    if (dialog.DoModal(GetAncestor(hwnd(), GA_ROOT)) != IDOK) return;
    const EditOutcome outcome = session_.ApplyEdit(
        opened,
        [&](ProfileRecord& record) {
            dialog.Levels().ApplyTo(record);
            return true;
        },
        context_.Monitor());
    if (!outcome.written) DebugOut(L"PerformancePage: the profile of the levels is gone, nothing stored\n");
    else if (!outcome.apply.saved) DebugOut(L"PerformancePage: the profile store could not be saved\n");
    Refresh();
    // The controls too: the page paints over them (no WS_CLIPCHILDREN).
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool PerformancePage::OnDialogCommand(WORD id, WORD code, HWND control) {
    if (!control) {
        if (const int rate = performance::PollingRateOf(id)) {
            if (ProfileRecord* current = session_.current()) {
                current->PollingRate = rate;
                context_.SettingsChanged();
                ShowPollingCaption();
            }
            return true;
        }
        return false;
    }
    if (levelsButton_ && control == levelsButton_->hwnd()) {
        ShowLevelsDialog();
        return true;
    }
    if (pollingButton_ && control == pollingButton_->hwnd()) {
        ShowPollingMenu();
        return true;
    }
    return false;
}

void PerformancePage::PaintOver(HDC dc, const RECT&) {
    {
        SelectGuard font(dc, SkinFont(15));
        SetTextColor(dc, kCaptionColor);
        for (int i = 0; i < 7; ++i)
            DrawSkinText(dc, context_.Text(kCaptionTexts[i]), captions_[i], DT_WORDBREAK | DT_NOPREFIX, false);
    }
    const ProfileRecord* current = session_.current();
    if (!current) return;
    {
        SelectGuard pen(dc, CachedPen(kLevelFrame));
        SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, levelBox_.left, levelBox_.top, levelBox_.right, levelBox_.bottom);
    }
    SelectGuard font(dc, SkinFont(20));
    SetTextColor(dc, kLevelNumber);
    const std::wstring number = std::to_wstring(performance::ActiveLevel(*current) + 1);
    DrawSkinText(dc, number, levelBox_, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX, false);
}

LRESULT PerformancePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSliderNotify) {
        OnSlider(static_cast<int>(lParam), static_cast<int>(wParam));
        return 0;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}
