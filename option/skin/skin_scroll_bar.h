#pragma once
// Skinned scroll bars for the lists of the skinned windows. SkinList wraps a
// list box in a frame window "SkinScrollBarFrame": the list moves into an
// inner clipping window "LIMIT" so that its own grey bars fall outside what
// shows, and two bitmap-drawn CSkinScrollBar bars beside it mirror and drive
// its scrolling. The list itself is unchanged: it keeps its id, its owner and
// its notifications.
#include <windows.h>

#include <memory>

#include "scroll_bar_geometry.h"
#include "window.h"

class CScrollBarFrame;

// One bar, drawn from the 9 x 3 grid of the scroll bitmap.
class CSkinScrollBar : public CWindow {
public:
    CSkinScrollBar(ScrollBarKind kind, HBITMAP bitmap);  // bitmap not owned

    bool Create(HWND frame, int id);
    ScrollBarKind Kind() const { return kind_; }
    int Thickness() const { return grid_.cell; }
    bool Dragging() const { return pointer_.dragging; }
    const ScrollState& State() const { return state_; }
    // Takes range, page and position as `info.fMask` says; repaints when asked.
    void SetInfo(const SCROLLINFO& info, bool redraw);

    // Attaches a frame to `list`; the frame lives until the list is destroyed or
    // restored. False when the list is already skinned or a window failed.
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
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ScrollBarGeometry Geometry() const;
    void Send(int code, int position = 0);
    void DrawPart(HDC dc, const ScrollBarGeometry& geometry, ScrollPart part, PartLook look);
    void RedrawPart(ScrollPart part);
    void DrawTrackAndThumb(HDC dc, const ScrollBarGeometry& geometry);
    void StopRepeat();

    ScrollBarKind kind_;
    HBITMAP bitmap_;  // not owned: a shared resource of the program
    ScrollBitmapGrid grid_;
    ScrollState state_;
    ScrollBarPointer pointer_;
    int32_t dragStart_ = 0;
    int32_t grabAlong_ = 0;
    bool repeating_ = false;
    bool trackingLeave_ = false;
};

// The frame around one skinned list.
class CScrollBarFrame : public CWindow {
public:
    CScrollBarFrame(HWND list, HBITMAP bitmap);  // neither owned
    ~CScrollBarFrame() override;

    bool Attach();
    // Gives the list back to its first parent, at the frame's place, and
    // destroys the frame (which then deletes itself).
    void Restore();
    HWND List() const { return list_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnPaint() override;
    void OnDestroy() override;
    // The page measures its list's rows by the list's id, which the frame now carries.
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) override { return ReflectMeasureItem(list_, item); }
    void OnFinalMessage() override { delete this; }

private:
    class LimitWindow;
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ListScrollBars ListBars() const;
    void Layout();
    void SyncBar(CSkinScrollBar& bar, int which, bool redraw);
    void Unsubclass();

    HWND list_;       // not owned
    HWND firstParent_ = nullptr;  // not owned: where the list goes back to
    HBITMAP bitmap_;  // not owned
    std::unique_ptr<LimitWindow> limit_;
    CSkinScrollBar horizontal_;
    CSkinScrollBar vertical_;
    WNDPROC listProc_ = nullptr;
    int cornerMode_ = 0;
    bool updating_ = false;
    bool restoring_ = false;
};
