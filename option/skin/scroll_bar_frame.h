#pragma once
// CScrollBarFrame: the frame window "SkinScrollBarFrame" that gives a list box
// skinned scroll bars. The list moves into an inner clipping window "LIMIT"
// (CScrollLimitWindow) so that its own grey bars fall outside what shows, and
// two CSkinScrollBar bars beside it mirror and drive its scrolling. The list
// itself is unchanged: it keeps its id, its owner and its notifications.
//
// The frame watches the list's object (CWindow::MessageWatcher): after each
// message the list has handled, the bars take the list's own scroll state, so
// whatever scrolled it (the wheel, the keys, a row added or chosen) shows at once.
#include <windows.h>

#include <memory>

#include "scroll_limit_window.h"
#include "skin_scroll_bar.h"
#include "window.h"

class CScrollBarFrame : public CWindow, private CWindow::MessageWatcher {
public:
    CScrollBarFrame(HWND list, HBITMAP bitmap);  // neither owned
    ~CScrollBarFrame() override;

    // False when the list is no window of ours or a window failed.
    bool Attach();
    // Gives the list back to its first parent, at the frame's place, and
    // destroys the frame (which then deletes itself).
    void Restore();
    HWND List() const { return list_; }
    // A plain container under the name of its list.
    bool Describe(AccessibleFacts& facts) const override;
    CSkinScrollBar& Vertical() { return vertical_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnPaint() override;
    void OnDestroy() override;
    // The page measures its list's rows by the list's id, which the frame now carries.
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) override { return ReflectMeasureItem(list_, item); }
    void OnFinalMessage() override { delete this; }

private:
    void AfterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) override;
    void WatchedWindowGone() override;
    ListScrollBars ListBars() const;
    void Layout();
    void SyncBar(CSkinScrollBar& bar, int which, bool redraw);
    void SyncBars();
    void EndWatch();

    HWND list_;                   // not owned
    HWND firstParent_ = nullptr;  // not owned: where the list goes back to
    std::unique_ptr<CScrollLimitWindow> limit_;
    CSkinScrollBar horizontal_;
    CSkinScrollBar vertical_;
    ScrollCorner cornerMode_ = kNoCorner;
    bool watching_ = false;
    bool updating_ = false;
    bool restoring_ = false;
};
