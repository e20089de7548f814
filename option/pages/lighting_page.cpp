#include "lighting_page.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "debug_output.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "skin_scale.h"
#include "wide_text.h"

namespace {

enum LightingEntry {
    kModeEntry = 2,
    kDirectionEntry = 4,
    kLevelEntry = 5,
    kFirstSwatchEntry = 7,  // to 13, one per DPIColor%d
};

constexpr UINT kTextStoredOnly = option_text::kStoredOnly;
constexpr UINT kTextLevelColourTip = option_text::kLevelColourTip;
constexpr UINT kTextSpareColourTip = option_text::kSpareColourTip;

constexpr COLORREF kLabelColor = RGB(110, 110, 110);
constexpr COLORREF kLegendColor = RGB(110, 110, 110);
// The numbers of disabled swatches, and the caption of colours the mouse never gets.
constexpr COLORREF kLegendDimColor = RGB(72, 72, 72);
constexpr COLORREF kStoredOnlyColor = RGB(88, 88, 88);

constexpr int kLegendGap = 4;      // between a swatch and its number
constexpr int kLegendHeight = 18;  // one line of Arial 15
constexpr int kLegendFontHeight = 15;
constexpr int kStoredOnlyFontHeight = 13;

// The caption of a text number; the page's "no caption" is an empty text.
std::wstring CaptionText(const OptionContext& context, unsigned id) {
    return id == lighting::kNoText ? std::wstring() : context.Text(id);
}

void Enable(CSkinButtonBase* button, bool enabled) {
    if (!button) return;
    EnableWindow(button->hwnd(), enabled ? TRUE : FALSE);
    InvalidateRect(button->hwnd(), nullptr, FALSE);
}

// The label band at `top` of the 100 % layout, at the skin scale: the skin
// keeps these bands clear for the program's texts.
RECT LabelBand(int top) {
    const ScaledRect r =
        SkinScale().ScaleRect(lighting::kLabelLeft, top, lighting::kLabelRight - lighting::kLabelLeft,
                              lighting::kLabelBandHeight);
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
}

}  // namespace

LightingPage::LightingPage(const OptionContext& context)
    : CSkinPage(skin_files::kLighting), context_(context), session_(context.Session()) {
    customColours_.fill(RGB(255, 255, 255));
}

void LightingPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    modeButton_ = MakeButton(hwnd(), skin, kModeEntry, pictures);
    directionButton_ = MakeButton(hwnd(), skin, kDirectionEntry, pictures);
    levelButton_ = MakeButton(hwnd(), skin, kLevelEntry, pictures);
    for (CSkinButton* button : {modeButton_.get(), directionButton_.get(), levelButton_.get()})
        if (button) button->SetPageCaption(15, CaptionAlign::kLeft);

    for (int i = 0; i < lighting::kSwatchCount; ++i) {
        const ButtonPos pos = skin.ReadEntry(kFirstSwatchEntry + i);
        swatchRects_[i] = ToRect(pos.rect);
        KeepScaled(swatchRects_[i]);
        auto swatch = std::make_unique<CSkinColorButton>();
        if (!swatch->CreateFromSkin(hwnd(), pos, pictures)) continue;
        // The tip says which level the colour belongs to, or that the mouse
        // never shows it; without the texts the skin's tip stays.
        std::wstring tip = context_.Text(lighting::SentToMouse(i) ? kTextLevelColourTip : kTextSpareColourTip);
        if (!tip.empty()) {
            if (lighting::SentToMouse(i)) tip += L" " + Wide(lighting::SwatchCaption(i));
            swatch->SetTooltipText(tip.c_str(), true);
        }
        swatches_[i] = std::move(swatch);
    }
    Refresh();
}

void LightingPage::Refresh() {
    if (!hwnd()) return;
    ShowLook(session_.current());
}

void LightingPage::ShowLook(const ProfileRecord* record) {
    // Without a profile there is nothing to edit: every control stays disabled.
    const lighting::PageLook look = record ? lighting::LookOf(*record) : lighting::PageLook{};
    if (modeButton_) {
        modeButton_->SetText(record ? CaptionText(context_, look.modeText) : std::wstring());
        Enable(modeButton_.get(), record != nullptr);
    }
    if (levelButton_) {
        levelButton_->SetText(CaptionText(context_, look.levelText));
        Enable(levelButton_.get(), look.levelEnabled);
    }
    if (directionButton_) {
        directionButton_->SetText(CaptionText(context_, look.directionText));
        Enable(directionButton_.get(), look.directionEnabled);
    }
    swatchesEnabled_ = look.swatchesEnabled;
    for (int i = 0; i < lighting::kSwatchCount; ++i) {
        if (!swatches_[i]) continue;
        // Disabled swatches keep their colours; they show again when enabled.
        if (record) swatches_[i]->SetFillColor(static_cast<COLORREF>(lighting::SwatchColour(*record, i)));
        Enable(swatches_[i].get(), look.swatchesEnabled);
    }
    InvalidatePainted();
}

void LightingPage::ShowLevelCaption(const ProfileRecord& record) {
    if (levelButton_) levelButton_->SetText(CaptionText(context_, lighting::LookOf(record).levelText));
}

void LightingPage::ShowDirectionCaption(const ProfileRecord& record) {
    if (directionButton_) directionButton_->SetText(CaptionText(context_, lighting::LookOf(record).directionText));
}

RECT LightingPage::LegendBand() const {
    RECT band{0, 0, 0, 0};
    for (const RECT& r : swatchRects_) {
        if (r.right <= r.left) continue;
        if (band.right <= band.left) {
            band = RECT{r.left, r.bottom, r.right, r.bottom};
            continue;
        }
        band.left = std::min(band.left, r.left);
        band.right = std::max(band.right, r.right);
        band.top = std::max(band.top, r.bottom);
    }
    band.top += S(kLegendGap);
    band.bottom = band.top + S(kLegendHeight);
    // The stored-only caption is wider than the two swatches it names.
    band.left -= S(16);
    band.right += S(16);
    return band;
}

void LightingPage::InvalidatePainted() {
    // The label bands and the legend row change with the mode.
    for (const int top : lighting::kLabelTops) {
        RECT band = LabelBand(top);
        InvalidateRect(hwnd(), &band, FALSE);
    }
    const RECT legend = LegendBand();
    InvalidateRect(hwnd(), &legend, FALSE);
}

void LightingPage::PaintOver(HDC dc, const RECT&) {
    const ProfileRecord* current = session_.current();
    if (!current) return;
    {
        SelectGuard font(dc, SkinFont(15));
        SetTextColor(dc, kLabelColor);
        for (const lighting::PaintedLabel& label : lighting::LabelsOf(*current)) {
            if (!label.shown) continue;
            const RECT band = LabelBand(label.top);
            DrawSkinText(dc, context_.Text(label.text), band, DT_WORDBREAK | DT_NOPREFIX, true);
        }
    }

    const RECT legend = LegendBand();
    {
        SelectGuard font(dc, SkinFont(kLegendFontHeight));
        SetTextColor(dc, swatchesEnabled_ ? kLegendColor : kLegendDimColor);
        for (int i = 0; i < lighting::kSentSwatchCount; ++i) {
            const RECT& swatch = swatchRects_[i];
            if (swatch.right <= swatch.left) continue;
            RECT box{swatch.left - S(6), legend.top, swatch.right + S(6), legend.bottom};
            DrawSkinText(dc, Wide(lighting::SwatchCaption(i)), box,
                         DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
        }
    }
    const RECT& first = swatchRects_[lighting::kSentSwatchCount];
    const RECT& last = swatchRects_[lighting::kSwatchCount - 1];
    if (first.right > first.left && last.right > last.left) {
        SelectGuard font(dc, SkinFont(kStoredOnlyFontHeight));
        SetTextColor(dc, swatchesEnabled_ ? kStoredOnlyColor : kLegendDimColor);
        RECT box{first.left - S(16), legend.top, last.right + S(16), legend.bottom};
        DrawSkinText(dc, context_.Text(kTextStoredOnly), box,
                     DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, false);
    }
}

void LightingPage::ShowMenu(lighting::Menu which, CSkinButton& button) {
    const ProfileRecord* current = session_.current();
    if (!current) return;
    const lighting::MenuLook look = lighting::MenuOf(which, *current);
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (int i = 0; i < look.count; ++i) menu.AddItem(look.choices[i].command, context_.Text(look.choices[i].text));
    menu.SetWidth(look.width);
    menu.TrackUnder(hwnd(), button, look.lift);
}

void LightingPage::OnMenuCommand(UINT command) {
    ProfileRecord* current = session_.current();
    if (!current) return;
    switch (lighting::ApplyCommand(*current, command)) {
        case lighting::Change::kMode:
            // The mode caption, the enable table, the level and direction captions and the labels follow the mode.
            ShowLook(current);
            break;
        case lighting::Change::kDirection:
            ShowDirectionCaption(*current);
            break;
        case lighting::Change::kLevel:
            ShowLevelCaption(*current);
            break;
        case lighting::Change::kNone:
            return;
    }
    context_.SettingsChanged();
}

void LightingPage::ChooseColour(int swatch) {
    const ProfileRecord* shown = session_.current();
    if (!shown || !swatches_[swatch]) return;
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
    choose.rgbResult = static_cast<COLORREF>(lighting::SwatchColour(*shown, swatch));
    choose.lpCustColors = customColours_.data();
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    // The colour dialog runs its own message loop: a game may come to the
    // front meanwhile, and Option then reads the store again, records and all.
    // The colour belongs to the profile it was chosen for.
    const EditedProfile opened = session_.EditedNow();
    const bool chosen = ChooseColorW(&choose) != FALSE;
    swatches_[swatch]->SetHover(false);
    if (!chosen) return;
    const EditOutcome outcome = session_.ApplyEdit(
        opened, [&](ProfileRecord& record) { return lighting::SetSwatchColour(record, swatch, choose.rgbResult); },
        context_.Monitor());
    if (outcome.written && !outcome.apply.saved) DebugOut(L"LightingPage: the profile store could not be saved\n");
    // The swatch shows the current profile, whichever took the colour.
    if (const ProfileRecord* current = session_.current())
        swatches_[swatch]->SetFillColor(static_cast<COLORREF>(lighting::SwatchColour(*current, swatch)));
    InvalidateRect(swatches_[swatch]->hwnd(), nullptr, FALSE);
}

bool LightingPage::OnDialogCommand(WORD id, WORD, HWND control) {
    if (!control) {
        if (!lighting::IsMenuCommand(id)) return false;
        OnMenuCommand(id);
        return true;
    }
    if (modeButton_ && control == modeButton_->hwnd()) {
        ShowMenu(lighting::Menu::kMode, *modeButton_);
        return true;
    }
    if (directionButton_ && control == directionButton_->hwnd()) {
        ShowMenu(lighting::Menu::kDirection, *directionButton_);
        return true;
    }
    if (levelButton_ && control == levelButton_->hwnd()) {
        ShowMenu(lighting::Menu::kLevel, *levelButton_);
        return true;
    }
    for (int i = 0; i < lighting::kSwatchCount; ++i) {
        if (swatches_[i] && control == swatches_[i]->hwnd()) {
            ChooseColour(i);
            return true;
        }
    }
    return false;
}
