#pragma once
// How a skinned button looks in each state: which of its four pictures it
// shows, the colour of its caption, where the caption goes, and its indicator
// lamps. Pure rules, shared by the drawing code and the tests. Portable.
#include <array>
#include <cstdint>
#include <optional>

#include "button_pos.h"
#include "skin_color.h"

enum class ButtonPicture { kNormal = 0, kOver = 1, kDown = 2, kDisabled = 3 };
inline constexpr int kButtonPictureCount = 4;

struct ButtonState {
    bool checkMode = false;
    bool disabled = false;
    bool checked = false;
    bool pressed = false;  // the platform reports the item as selected (held down)
    bool hover = false;
};

ButtonPicture ChooseButtonPicture(const ButtonState& state);
ButtonPicture ChooseColorButtonPicture(const ButtonState& state);

struct CaptionColors {
    SkinColor normal = SkinRgb(245, 245, 245);
    SkinColor hover = SkinRgb(255, 0, 0);
    SkinColor pressed = SkinRgb(255, 0, 0);  // also while checked
    SkinColor disabled = SkinRgb(150, 150, 150);
};

SkinColor ChooseCaptionColor(const ButtonState& state, const CaptionColors& colors);

// The platform's text format flags (DrawText), by value, for portable layouts.
namespace text_format {
inline constexpr uint32_t kLeft = 0x0000;
inline constexpr uint32_t kCenter = 0x0001;
inline constexpr uint32_t kRight = 0x0002;
inline constexpr uint32_t kVCenter = 0x0004;
inline constexpr uint32_t kWordBreak = 0x0010;
inline constexpr uint32_t kSingleLine = 0x0020;
inline constexpr uint32_t kCalcRect = 0x0400;
inline constexpr uint32_t kNoPrefix = 0x0800;
inline constexpr uint32_t kEditControl = 0x2000;
inline constexpr uint32_t kEndEllipsis = 0x8000;
}  // namespace text_format

enum class CaptionKind {
    kWrapped,     // several lines, centred, the block centred vertically after measuring
    kSingleLine,  // DrawText in `rect` with `format`
    kTextOut,     // TextOut at (x, y)
};

struct CaptionLayout {
    CaptionKind kind = CaptionKind::kSingleLine;
    SkinRect rect;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t format = 0;  // drawing flags (kWrapped also measures with kCalcRect added)
};

// Alignment modes 0-7 of a caption in the button's client rectangle.
CaptionLayout LayoutCaption(int alignMode, const SkinRect& client);

// A block of `measuredHeight` in a box: moved down to the middle when it is
// lower than the box, otherwise left at the top.
int32_t CenteredTop(int32_t top, int32_t boxHeight, int32_t measuredHeight);

// The three indicator lamps: lamp 1 blue, 2 red, 3 green; a dark lamp grey.
inline constexpr SkinColor kLampBlue = SkinRgb(0, 0, 255);
inline constexpr SkinColor kLampRed = SkinRgb(255, 0, 0);
inline constexpr SkinColor kLampGreen = SkinRgb(0, 255, 0);
inline constexpr SkinColor kLampDark = SkinRgb(98, 98, 98);
inline constexpr int kNoIndicator = -1;

// Colours of the three lamps for an indicator mode; none for -1. Modes outside
// 1-8 show three dark lamps.
std::optional<std::array<SkinColor, 3>> LampColors(int indicatorMode);
// Where lamp 0, 1 or 2 sits, relative to the button's top left corner.
SkinRect LampRect(int lamp);
