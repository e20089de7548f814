#pragma once
// CThumbSlider: the thumb of a skinned slider, a small child of its track
// (`CClickSlider`) shaped like its picture, which the user drags along the
// track or moves with the keyboard. Made only by its track; every value it
// reports goes to the track as kSliderNotify, and the track passes it on.
#include <windows.h>

#include <string>

#include "app_messages.h"
#include "gdi.h"
#include "slider_geometry.h"
#include "window.h"

// Posted by a slider to its parent: wParam the value, lParam the control id.
inline constexpr UINT kSliderNotify = WM_USER + 70;
static_assert(kSliderNotify == WM_SLIDER_VALUE, "one number for the slider message");

// The shape of a thumb picture: every pixel but those of the colour of its
// top-left pixel, which is the picture's transparent colour wherever it
// occurs. Built from runs of pixels in one pass, not pixel by pixel. Null for
// no picture.
RegionHandle ThumbRegion(HBITMAP picture);

class CThumbSlider : public CWindow {
public:
    // Takes the picture over and creates the thumb as a child of `parent`, in
    // the tab order, at the place of its value. It travels with its left edge
    // from x0 and its right edge up to x1, centred in the band of `height`
    // pixels from y. With `shaped` it takes the shape of its picture. False,
    // and nothing made, for no picture.
    bool Create(BitmapHandle picture, int x0, int y, int x1, int height, HWND parent, int id, bool shaped);

    // Moves to `value`, clamped as unsigned numbers (a negative value ends at
    // the maximum). Reports nothing.
    void SetPos(int value);
    // Another picture (the thumb of another skin set) on a track of `x0`-`x1`
    // and `height`: size, shape and place follow; the value stays.
    void Repicture(BitmapHandle picture, int x0, int y, int x1, int height);
    int Pos() const { return value_; }
    // The track checks the range first; the thumb takes what it is given.
    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    void SetDragEnabled(bool on) { dragEnabled_ = on; }
    void SetSnap(bool on) { snap_ = on; }
    bool Released() const { return released_; }
    // The track clears it while it is pressed and sets it when it reports.
    void SetReleased(bool released) { released_ = released; }
    bool Dragging() const { return dragging_; }
    SIZE Size() const { return size_; }
    const SliderTravel& Travel() const { return travel_; }
    // The thumb's left edge in its track's client pixels.
    int Left() const;
    // Paints the thumb into any device context at (0, 0): its picture, and the
    // focus line when it has the keyboard and the keyboard is in use (it was
    // tabbed to, or a key moved it since the last click).
    void Draw(HDC dc) const;
    bool FocusCue() const { return focusCue_; }
    // The slider its track describes, as the part that has the keyboard.
    bool Describe(AccessibleFacts& facts) const override;

protected:
    bool OnPaint() override;
    bool OnLButtonDown(POINT at, UINT keys) override;
    bool OnMouseMove(POINT at, UINT keys) override;
    bool OnLButtonUp(POINT at, UINT keys) override;
    bool OnCaptureChanged(HWND gaining) override;
    bool OnKeyDown(UINT virtualKey, UINT flags) override;
    bool OnKillFocus(HWND gaining) override;
    void OnDestroy() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Place(int left);
    void Report(int value);
    // The end of a press: the value at the thumb's place, reported as released.
    void Settle();
    void ShowFocusCue(bool show);

    BitmapHandle picture_;
    SIZE size_{0, 0};
    SliderTravel travel_;
    int top_ = 0;
    int minimum_ = kSliderDefaultMinimum;
    int maximum_ = kSliderDefaultMaximum;
    int value_ = kSliderDefaultMinimum;
    bool dragEnabled_ = false;
    bool snap_ = false;
    bool pressed_ = false;   // the left button went down on the thumb and is still down
    bool dragging_ = false;  // pressed with drag enabled: the thumb follows the pointer
    bool released_ = true;   // no press of the thumb is in progress
    bool focusCue_ = false;  // the focus line shows while the thumb has the focus
    POINT grab_{0, 0};       // where in the thumb the press began
};
