#include "mouse_view.h"

#include "app_messages.h"
#include "button_assignment.h"
#include "keyboard_layout.h"
#include "option_context.h"
#include "skin_description.h"
#include "wide_text.h"

namespace {

constexpr int kCaptionHoverId = 200;
constexpr int kHotSpotHoverId = 300;
constexpr int kHotSpotEntryOffset = 16;
constexpr CaptionAlign kCaptionAlign = CaptionAlign::kLeftFrom45;


std::wstring CaptionText(const OptionContext& context, const ButtonAssignment& record) {
    const AssignmentCaption caption = CaptionOf(record, SystemKeyboardLayout());
    return caption.textId ? context.Text(static_cast<UINT>(caption.textId)) : Wide(caption.text);
}

}  // namespace

MouseView::MouseView(std::u16string skinFile, OpenFn open, const OptionContext& context)
    : CSkinPage(skin_template::kView, std::move(skinFile)), open_(std::move(open)), context_(context) {}

void MouseView::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    for (int i = 0; i < kButtons; ++i) {
        // An entry the picture does not show makes a zero-size button nobody sees.
        captions_[i] = MakeButton(hwnd(), skin, i + 1, pictures);
        if (captions_[i]) {
            captions_[i]->SetHoverId(kCaptionHoverId + i);
            captions_[i]->SetFont(15, 0);
            captions_[i]->SetAlign(kCaptionAlign);
            captions_[i]->SetTextColors(RGB(100, 100, 100), RGB(128, 21, 153), RGB(255, 255, 255), RGB(50, 50, 50));
        }
        hotSpots_[i] = MakeButton(hwnd(), skin, i + 1 + kHotSpotEntryOffset, pictures);
        if (hotSpots_[i]) hotSpots_[i]->SetHoverId(kHotSpotHoverId + i);
    }
}

const std::wstring& MouseView::Caption(int buttonIndex) const {
    static const std::wstring none;
    if (buttonIndex < 0 || buttonIndex >= kButtons || !captions_[buttonIndex]) return none;
    return captions_[buttonIndex]->Text();
}

void MouseView::Show(const ButtonAssignment (&records)[kButtons]) {
    const std::array<bool, kButtonCount> changeable = PrimaryClickGuard(records);
    for (int i = 0; i < kButtons; ++i) {
        // Listeners hear which button each caption and hot spot stands for.
        // The number the view's badges and the assignment dialog's title show.
        const std::wstring name = NumberedButtonName(ButtonNumber(i), CaptionText(context_, records[i]));
        if (captions_[i]) captions_[i]->SetAccessibleName(name);
        if (hotSpots_[i]) hotSpots_[i]->SetAccessibleName(name);
        if (captions_[i]) {
            captions_[i]->SetText(CaptionText(context_, records[i]));
            EnableWindow(captions_[i]->hwnd(), changeable[i]);
            // At once: the user just made the change that this caption shows.
            RedrawWindow(captions_[i]->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        if (hotSpots_[i]) EnableWindow(hotSpots_[i]->hwnd(), changeable[i]);
    }
}

bool MouseView::OnDialogCommand(WORD, WORD, HWND control) {
    if (!control) return false;
    for (int i = 0; i < kButtons; ++i) {
        const bool caption = captions_[i] && control == captions_[i]->hwnd();
        const bool hotSpot = hotSpots_[i] && control == hotSpots_[i]->hwnd();
        if (!caption && !hotSpot) continue;
        if (open_) open_(i);
        return true;
    }
    return false;
}

void MouseView::PairHover(int hoverId, bool hovered) {
    CSkinButton* partner = nullptr;
    if (hoverId >= kCaptionHoverId && hoverId < kCaptionHoverId + kButtons)
        partner = hotSpots_[hoverId - kCaptionHoverId].get();
    else if (hoverId >= kHotSpotHoverId && hoverId < kHotSpotHoverId + kButtons)
        partner = captions_[hoverId - kHotSpotHoverId].get();
    // Only the partner's look: its own tracking stays with the pointer, so
    // the pair never hands hover reports back and forth.
    if (!partner) return;
    partner->SetPartnerLit(hovered);
    UpdateWindow(partner->hwnd());
}

LRESULT MouseView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BUTTON_HOVER) {
        PairHover(static_cast<int>(lParam), wParam != 0);
        return 0;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}
