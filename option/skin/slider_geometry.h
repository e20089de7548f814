#pragma once
// The arithmetic of the skinned sliders: the track `CClickSlider` and its
// thumb `CThumbSlider`. Where a value puts the thumb, and what value a click on
// the track, a step of a thumb drag, the drag's button-up and a key press
// give. The two windows only route what this file computes, so painting,
// clicking and dragging never disagree about where a value lies. Portable.
//
// Clicks and button-ups read single-precision values, positions and drag
// steps use integer arithmetic with the multiplication first, as the
// program always has. Products are taken in 64 bits so that no range
// overflows, and every division is guarded: a slider whose range or travel is
// empty reads its minimum rather than dividing by zero.
#include <cstdint>

// The slider's value message (WM_USER + 70), posted; wParam the value, lParam
// the sender's control id. Also in app_messages.h as WM_SLIDER_VALUE.
inline constexpr uint32_t kSliderNotifyMessage = 0x446;

// The range of a new slider.
inline constexpr int32_t kSliderDefaultMinimum = 0;
inline constexpr int32_t kSliderDefaultMaximum = 10;

// A range the slider takes: 0 <= minimum < maximum. Equal ends would divide by
// zero in every formula, and the thumb holds its range as unsigned numbers,
// so a negative or inverted range cannot be shown.
bool SliderRangeAllowed(int32_t minimum, int32_t maximum);

// A track must be wider than its thumb: otherwise the thumb has no travel and
// the drag formulas divide by zero.
bool SliderTrackFits(int32_t trackWidth, int32_t thumbWidth);

// Where the thumb may go, in the track's client pixels: its left edge never
// left of x0, its right edge never right of x1.
struct SliderTravel {
    int32_t x0 = 0;
    int32_t x1 = 0;
    int32_t thumbWidth = 0;

    // Pixels the thumb's left edge can move over: x1 - x0 - w (0 when none).
    int64_t Room() const;
    // The thumb's leftmost and rightmost left edge.
    int32_t FirstLeft() const { return x0; }
    int32_t LastLeft() const;
};

// The thumb's SetPos clamp: value, minimum and maximum compared as unsigned
// numbers, as the thumb holds them. A negative value is a very large one and
// so ends at the maximum.
int32_t ThumbClamp(int32_t value, int32_t minimum, int32_t maximum);

// Left edge of the thumb showing `value` (clamped as ThumbClamp does):
// x0 + (x1 - x0 - w) x (v - minimum) / (maximum - minimum), integer
// arithmetic, multiplication first.
int32_t ThumbLeftOf(int32_t value, const SliderTravel& travel, int32_t minimum, int32_t maximum);

// A value read from a pixel position: the exact single-precision value f (the
// one the debug output shows), and the integer it gives.
struct SliderReading {
    float exact = 0.0f;
    int32_t value = 0;
};

// f + 0.5 rounded down with snap, f truncated toward zero without; then
// clamped with signed comparisons (above the maximum gives the maximum, else
// below the minimum the minimum).
int32_t SliderRound(float exact, int32_t minimum, int32_t maximum, bool snap);

// A click on the track at x (the same coordinates as left and right):
// f = (maximum - minimum) x (x - left) / (right - left) + minimum. A click
// left of the track (the mouse captured) gives the minimum, right of it the
// maximum.
SliderReading TrackClickValue(int32_t x, int32_t left, int32_t right, int32_t minimum, int32_t maximum, bool snap);

// One mouse move of a thumb drag by dx pixels from where the thumb was
// grabbed: the thumb's new left edge, kept within its travel. It never moves
// vertically.
int32_t DragLeft(int32_t oldLeft, int32_t dx, const SliderTravel& travel);

// The value a drag step reports: minimum + (old left - x0) x (maximum -
// minimum) / (x1 - w - x0), integer arithmetic, clamped. It is read from the
// position before the step's move, so during a drag the value trails the
// thumb by one move; the button-up settles it.
int32_t DragValue(int32_t oldLeft, const SliderTravel& travel, int32_t minimum, int32_t maximum);

// The value at the drag's button-up, from the thumb's left edge then:
// f = (maximum - minimum) x (left - x0) / (x1 - w - x0) + minimum.
SliderReading ReleaseValue(int32_t left, const SliderTravel& travel, int32_t minimum, int32_t maximum, bool snap);

// Keys a focused slider answers.
enum class SliderKey { kNone, kStepDown, kStepUp, kFirst, kLast };

// The value after a key: one step down or up, or either end; clamped.
int32_t KeyValue(SliderKey key, int32_t value, int32_t minimum, int32_t maximum);
