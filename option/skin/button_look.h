#pragma once
// How a skinned button looks in each state: which of its four pictures it
// shows, the colour of its caption, where the caption goes, and its indicator
// lamps. Pure rules, shared by the drawing code and the tests. Portable.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "button_pos.h"
#include "skin_color.h"
#include "ui_scale.h"

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

// Where a caption goes in the button's client rectangle. The numbers stay as
// they were: the skin gallery labels its buttons with them.
enum class CaptionAlign {
    kCentredWrapped = 0,  // several lines, centred, the block centred vertically
    kLeft = 1,            // one line from 5 px, up to 10 px before the right edge
    kRight = 2,           // one line, right-aligned, 5 px in on either side
    kSameAsLeft = 3,      // drawn as kLeft
    kAtPoint20x4 = 4,     // one line at (20, 4), not clipped to the button
    kAtPoint25x7 = 5,     // one line at (25, 7), not clipped to the button
    kLeftFrom45 = 6,      // one line from 45 px, up to 7 px before the right edge
    kLeftFrom15 = 7,      // one line from 15 px, up to 10 px before the right edge
};

// A mode from a plain number: an unknown one is right-aligned, as the drawing
// has always treated it.
CaptionAlign CaptionAlignFromNumber(int number);

CaptionLayout LayoutCaption(CaptionAlign align, const SkinRect& client);

// A block of `measuredHeight` in a box: moved down to the middle when it is
// lower than the box, otherwise left at the top.
int32_t CenteredTop(int32_t top, int32_t boxHeight, int32_t measuredHeight);

// The three indicator lamps: lamp 1 blue, 2 red, 3 green; a dark lamp grey.
inline constexpr SkinColor kLampBlue = SkinRgb(0, 0, 255);
inline constexpr SkinColor kLampRed = SkinRgb(255, 0, 0);
inline constexpr SkinColor kLampGreen = SkinRgb(0, 255, 0);
inline constexpr SkinColor kLampDark = SkinRgb(98, 98, 98);

// Which lamps a button's indicator lights; the numbers are the indicator codes.
enum class LampIndicator {
    kNoLamps = -1,  // no lamps drawn at all
    kBlue = 1,
    kRed = 2,
    kGreen = 3,
    kBlueRed = 4,
    kBlueGreen = 5,
    kRedGreen = 6,
    kAllLit = 7,
    kAllDark = 8,  // three lamps drawn, none lit
};

// Colours of the three lamps; none for kNoLamps. A value outside the enum
// shows three dark lamps.
std::optional<std::array<SkinColor, 3>> LampColors(LampIndicator indicator);
// Where lamp 0, 1 or 2 sits, relative to the button's top left corner.
SkinRect LampRect(int lamp);

// The focus mark: an outline in the accent colour just inside a control of
// `width` x `height` pixels, a whole number of pixels thick at every scale so
// that it stays sharp. Thickness 0: the control is too small to carry one.
struct FocusMark {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int thickness = 0;
};
inline constexpr SkinColor kFocusMarkColor = kSkinAccent;
// The mark on what is itself in the accent (a slider's thumb, a selected
// list row): light enough to read there.
inline constexpr SkinColor kFocusMarkOnAccent = SkinRgb(240, 236, 246);
FocusMark FocusMarkFor(int width, int height, const UiScale& scale);

// The part of a segmented choice an arrow key goes to from part `from`: the
// nearest usable one `step` (-1 or +1) away, stopping at the ends as a
// slider does; none when there is no usable part that way.
std::optional<size_t> NextChoicePart(std::span<const bool> usable, size_t from, int step);
