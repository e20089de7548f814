#pragma once
// CClickSlider: a horizontal value slider drawn from pictures. The track
// shows a strip of its window's background picture and answers clicks
// anywhere on it; its thumb (`CThumbSlider`) is dragged along it or moved with
// the keys. Left on the track is the minimum, right the maximum.
//
// Every change is posted to the parent as kSliderNotify (wParam the value,
// lParam the track's control id): on a click's button-up, on every step of a
// thumb drag and at its button-up, and on each key press (Left and Right one
// step, Home and End the ends). The parent asks Released() to tell a value
// that ends the user's action (apply it) from one reported mid-drag (show it).
#include <windows.h>

#include <string>
#include <utility>

#include "gdi.h"
#include "slider_geometry.h"
#include "thumb_slider.h"
#include "window.h"

class CClickSlider : public CWindow {
public:
    // A child of `parent` at (left, top)-(right, bottom) in its client pixels,
    // with the thumb from the .bmp file `thumbPicture` on it, range 0-10. False,
    // and nothing made, when the picture cannot be loaded or the track is not
    // wider than the thumb.
    bool Create(const std::wstring& thumbPicture, int left, int top, int right, int bottom, HWND parent, int id);
    // Cuts `rect` (the track's place in its window) out of the window's
    // picture as the track's own picture. `windowImage` is not owned; none
    // keeps the old picture.
    void SetBitmap(const RECT& rect, HBITMAP windowImage);
    // Moves the thumb to `value` (clamped); reports nothing.
    void SetPos(int value);
    int Pos() const { return thumb_.Pos(); }
    // 0 <= minimum < maximum; anything else is refused (false) and the old
    // range stays. The value is kept within the new range.
    bool SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Round values read from the pointer to the nearest one instead of truncating.
    void SetSnap(bool on);
    // What the value counts ("DPI"), for listeners: they hear "2000 DPI".
    void SetValueUnit(std::wstring unit) { valueUnit_ = std::move(unit); }
    bool Describe(AccessibleFacts& facts) const override;
    // True when the last reported value ended a user action (button up on the
    // track or the thumb, or a key press); false while a press or drag is in
    // progress.
    bool Released() const { return released_ && thumb_.Released(); }
    CThumbSlider& Thumb() { return thumb_; }
    const CThumbSlider& Thumb() const { return thumb_; }
    HBITMAP Picture() const { return picture_.get(); }
    // Paints the track (not its thumb) into any device context at (0, 0).
    void Draw(HDC dc) const;

protected:
    int OnCreate(CREATESTRUCTW* create) override;
    void OnDestroy() override;
    bool OnPaint() override;
    bool OnLButtonDown(POINT at, UINT keys) override;
    bool OnLButtonUp(POINT at, UINT keys) override;
    bool OnCaptureChanged(HWND gaining) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The track and its thumb in the skin set of the new scale.
    void Rescale(const struct SkinRescale& change);

    BitmapHandle thumbPicture_;  // loaded by Create, handed to the thumb when the track is made
    std::wstring thumbPath_;
    HWND parent_ = nullptr;  // not owned
    int id_ = 0;
    int minimum_ = kSliderDefaultMinimum;
    int maximum_ = kSliderDefaultMaximum;
    bool snap_ = false;
    std::wstring valueUnit_;
    bool pressed_ = false;   // the left button went down on the track and is still down
    bool released_ = true;
    BitmapHandle picture_;
    CThumbSlider thumb_;
};
