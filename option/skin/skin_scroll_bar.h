#pragma once
// CSkinScrollBar: one bitmap-drawn scroll bar, from the 9 x 3 grid of the
// scroll bitmap. It draws and takes the pointer; what it scrolls is its
// parent's business, told as WM_VSCROLL or WM_HSCROLL like a system bar's.
//
// The skinned bars of a list come through SkinList: it wraps the list in a
// CScrollBarFrame (scroll_bar_frame.h) with two of these beside it.
#include <windows.h>

#include "hover_tracker.h"
#include "scroll_bar_geometry.h"
#include "window.h"

class CScrollBarFrame;

class CSkinScrollBar : public CWindow {
public:
    CSkinScrollBar(ScrollBarKind kind, HBITMAP bitmap);  // bitmap not owned

    bool Create(HWND frame, int id);
    ScrollBarKind Kind() const { return kind_; }
    int Thickness() const { return grid_.cell; }
    // Another picture grid (the one of another skin set; not owned): the
    // thickness follows, the frame lays the bars out again.
    void SetBitmap(HBITMAP bitmap);
    bool Dragging() const { return pointer_.dragging; }
    const ScrollState& State() const { return state_; }
    // Takes range, page and position as `info.fMask` says; repaints when asked.
    void SetInfo(const SCROLLINFO& info, bool redraw);
    // The square between two bars, as `corner` wants it, at `at` of `dc`.
    void PaintCorner(HDC dc, const SkinRect& at, ScrollCorner corner) const;
    // Under the name of the list it scrolls; its value the position.
    bool Describe(AccessibleFacts& facts) const override;

    // Attaches a frame to `list` (a window of ours, a CWindow); the frame
    // lives until the list goes. False when the list is already skinned or a
    // window failed. Defined with the frame.
    static bool SkinList(HWND list, HBITMAP bitmap);
    static void HideSkinned(HWND list);
    static void ShowSkinned(HWND list);
    static CScrollBarFrame* FrameOf(HWND list);

protected:
    bool OnPaint() override;
    bool OnLButtonDown(POINT at, UINT keys) override;
    bool OnLButtonDblClk(POINT at, UINT keys) override { return true; }  // swallowed
    bool OnLButtonUp(POINT at, UINT keys) override;
    bool OnMouseMove(POINT at, UINT keys) override;
    bool OnMouseLeave() override;
    bool OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ScrollBarGeometry Geometry() const;
    void Send(int code, int position = 0);
    void DrawPart(HDC dc, const ScrollBarGeometry& geometry, ScrollPart part, PartLook look);
    void RedrawPart(ScrollPart part);
    void DrawTrackAndThumb(HDC dc, const ScrollBarGeometry& geometry);
    void StopRepeat();
    void OnHoverChange(const HoverState::Change& change);

    ScrollBarKind kind_;
    HBITMAP bitmap_;  // not owned: a shared resource of the program
    ScrollBitmapGrid grid_;
    ScrollState state_;
    ScrollBarPointer pointer_;
    CHoverTracker hover_;  // lights the arrows and the thumb: pointer_.hot follows it
    int32_t dragStart_ = 0;
    int32_t grabAlong_ = 0;
    bool repeating_ = false;
};
