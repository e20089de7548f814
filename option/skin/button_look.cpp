#include "button_look.h"

#include <algorithm>

#include "skin_scale.h"

ButtonPicture ChooseButtonPicture(const ButtonState& s) {
    if (s.disabled) return ButtonPicture::kDisabled;
    if (s.checked) return ButtonPicture::kDown;
    // A two-state button shows its own state, not the press in progress.
    if (!s.checkMode && s.pressed) return ButtonPicture::kDown;
    if (s.hover) return ButtonPicture::kOver;
    return ButtonPicture::kNormal;
}

ButtonPicture ChooseColorButtonPicture(const ButtonState& s) {
    if (s.checkMode) {
        if (s.disabled) return ButtonPicture::kDisabled;
        if (s.checked) return ButtonPicture::kDown;
        return s.hover ? ButtonPicture::kOver : ButtonPicture::kNormal;
    }
    if (s.checked && !s.disabled) return ButtonPicture::kDown;
    if (s.pressed) return ButtonPicture::kDown;
    if (s.hover) return ButtonPicture::kOver;
    if (s.disabled) return ButtonPicture::kDisabled;
    return ButtonPicture::kNormal;
}

SkinColor ChooseCaptionColor(const ButtonState& s, const CaptionColors& c) {
    // Over the "down" picture the caption keeps the pressed colour, pointer or
    // not: the hover colour of the page captions is the picture's own purple,
    // and a checked tab under the pointer would lose its caption.
    if (ChooseButtonPicture(s) == ButtonPicture::kDown) return c.pressed;
    if (s.hover) return c.hover;
    if (s.disabled) return c.disabled;
    if (s.pressed || s.checked) return c.pressed;
    return c.normal;
}

CaptionAlign CaptionAlignFromNumber(int number) {
    return number >= 0 && number <= static_cast<int>(CaptionAlign::kLeftFrom15) ? static_cast<CaptionAlign>(number)
                                                                                : CaptionAlign::kRight;
}

CaptionLayout LayoutCaption(CaptionAlign align, const SkinRect& r) {
    using namespace text_format;
    constexpr uint32_t kOneLine = kVCenter | kSingleLine | kNoPrefix | kEndEllipsis;
    CaptionLayout layout;
    switch (align) {
        case CaptionAlign::kCentredWrapped:
            layout.kind = CaptionKind::kWrapped;
            layout.rect = SkinRect{r.left + S(5), r.top, r.right - S(5), r.bottom};
            layout.format = kWordBreak | kCenter | kEditControl;
            break;
        case CaptionAlign::kLeft:
        case CaptionAlign::kSameAsLeft:
            layout.rect = SkinRect{r.left + S(5), r.top, r.right - S(10), r.bottom};
            layout.format = kLeft | kOneLine;
            break;
        case CaptionAlign::kAtPoint20x4:
            layout.kind = CaptionKind::kTextOut;
            layout.x = S(20);
            layout.y = S(4);
            break;
        case CaptionAlign::kAtPoint25x7:
            layout.kind = CaptionKind::kTextOut;
            layout.x = S(25);
            layout.y = S(7);
            break;
        case CaptionAlign::kLeftFrom45:
            layout.rect = SkinRect{r.left + S(45), r.top, r.right - S(7), r.bottom};
            layout.format = kLeft | kOneLine;
            break;
        case CaptionAlign::kLeftFrom15:
            layout.rect = SkinRect{r.left + S(15), r.top, r.right - S(10), r.bottom};
            layout.format = kLeft | kOneLine;
            break;
        case CaptionAlign::kRight:
        default:  // a value cast from a number outside the enum
            layout.rect = SkinRect{r.left + S(5), r.top, r.right - S(5), r.bottom};
            layout.format = kRight | kOneLine;
            break;
    }
    return layout;
}

int32_t CenteredTop(int32_t top, int32_t boxHeight, int32_t measuredHeight) {
    return measuredHeight < boxHeight ? top + (boxHeight - measuredHeight) / 2 : top;
}

std::optional<std::array<SkinColor, 3>> LampColors(LampIndicator indicator) {
    if (indicator == LampIndicator::kNoLamps) return std::nullopt;
    const int mode = static_cast<int>(indicator);
    // Bit 0: lamp 1 (blue), bit 1: lamp 2 (red), bit 2: lamp 3 (green).
    static constexpr uint8_t kLit[9] = {0, 0b001, 0b010, 0b100, 0b011, 0b101, 0b110, 0b111, 0b000};
    const uint8_t lit = mode >= 1 && mode <= 8 ? kLit[mode] : 0;
    return std::array<SkinColor, 3>{(lit & 1) ? kLampBlue : kLampDark, (lit & 2) ? kLampRed : kLampDark,
                                    (lit & 4) ? kLampGreen : kLampDark};
}

SkinRect LampRect(int lamp) {
    // Laid out at 100 % and scaled by its edges, like the skin's rectangles.
    const ScaledRect r = SkinScale().ScaleRect(100 + 6 * lamp, 6, 4, 10);
    return SkinRect{r.x, r.y, r.x + r.width, r.y + r.height};
}

FocusMark FocusMarkFor(int width, int height, const UiScale& scale) {
    const int thickness = std::max(1, scale.Scale(1));
    // Inside the picture's own edge where there is room, on it where there is not.
    const int room = std::min(width, height);
    const int inset = room >= 2 * (2 * thickness) + 4 ? thickness : 0;
    if (room < 2 * thickness + 2) return {};
    return {inset, inset, width - inset, height - inset, thickness};
}

std::optional<size_t> NextChoicePart(std::span<const bool> usable, size_t from, int step) {
    if (step == 0 || from >= usable.size()) return std::nullopt;
    for (size_t part = from; step < 0 ? part-- > 0 : ++part < usable.size();)
        if (usable[part]) return part;
    return std::nullopt;
}
