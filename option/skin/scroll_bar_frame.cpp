#include "scroll_bar_frame.h"

#include <memory>

#include "gdi.h"
#include "skin_control.h"
#include "skin_rect_win32.h"
#include "skin_rescale.h"
#include "skin_resource.h"

namespace {

constexpr wchar_t kFrameClass[] = L"GmSkinScrollBarFrame";
constexpr wchar_t kFrameName[] = L"SkinScrollBarFrame";
// The frame of a skinned list, found from the list.
constexpr wchar_t kFrameProperty[] = L"SkinScrollBarFrame";

ScrollState StateOf(const SCROLLINFO& info) {
    ScrollState state;
    state.min = info.nMin;
    state.max = info.nMax;
    state.page = info.nPage;
    state.pos = info.nPos;
    return state;
}

}  // namespace

CScrollBarFrame::CScrollBarFrame(HWND list, HBITMAP bitmap)
    : list_(list), horizontal_(ScrollBarKind::kHorizontal, bitmap), vertical_(ScrollBarKind::kVertical, bitmap) {}

CScrollBarFrame::~CScrollBarFrame() { EndWatch(); }

bool CScrollBarFrame::Attach() {
    CWindow* list = CWindow::FromHandle(list_);
    firstParent_ = GetParent(list_);
    if (!list || list->Watcher() || !firstParent_) return false;
    RECT rc{};
    GetWindowRect(list_, &rc);
    MapWindowPoints(nullptr, firstParent_, reinterpret_cast<POINT*>(&rc), 2);
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(list_, GWL_STYLE));
    const auto exStyle = static_cast<uint32_t>(GetWindowLongPtrW(list_, GWL_EXSTYLE));
    const SkinnedListStyles styles = SkinListStyles(style, exStyle, rc.right - rc.left, rc.bottom - rc.top,
                                                    GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CXEDGE));

    CreateParams p = SkinControlParams(kFrameClass, ToSkinRect(rc), firstParent_, GetDlgCtrlID(list_),
                                       styles.frameStyle);
    p.title = kFrameName;
    p.exStyle = styles.frameExStyle;
    if (!Create(p)) return false;

    limit_ = std::make_unique<CScrollLimitWindow>(firstParent_);
    if (!limit_->Create(hwnd()) || !horizontal_.Create(hwnd(), kHorizontalBarId) ||
        !vertical_.Create(hwnd(), kVerticalBarId))
        return false;

    SetWindowLongPtrW(list_, GWL_STYLE, static_cast<LONG_PTR>(styles.listStyle));
    SetWindowLongPtrW(list_, GWL_EXSTYLE, static_cast<LONG_PTR>(styles.listExStyle));
    SetParent(list_, limit_->hwnd());
    SetPropW(list_, kFrameProperty, static_cast<HANDLE>(this));
    list->SetWatcher(this);
    watching_ = true;
    // The new frame style makes the list compute its client area again: the
    // watch sees that and lays the bars out.
    SetWindowPos(list_, nullptr, 0, 0, styles.listWidth, styles.listHeight, SWP_NOZORDER | SWP_FRAMECHANGED);
    return true;
}

void CScrollBarFrame::EndWatch() {
    if (!watching_) return;
    watching_ = false;
    if (CWindow* list = CWindow::FromHandle(list_); list && list->Watcher() == this) list->SetWatcher(nullptr);
    if (IsWindow(list_)) RemovePropW(list_, kFrameProperty);
}

void CScrollBarFrame::Restore() {
    if (restoring_) return;
    restoring_ = true;
    EndWatch();
    if (IsWindow(list_) && IsWindow(firstParent_)) {
        RECT rc{};
        GetWindowRect(hwnd(), &rc);
        MapWindowPoints(nullptr, firstParent_, reinterpret_cast<POINT*>(&rc), 2);
        SetParent(list_, firstParent_);
        MoveWindow(list_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
    DestroyWindow(hwnd());  // the final message deletes the frame
}

ListScrollBars CScrollBarFrame::ListBars() const {
    const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    ListScrollBars bars;
    bars.vertical = (style & WS_VSCROLL) != 0;
    bars.horizontal = (style & WS_HSCROLL) != 0;
    bars.verticalOnLeft = (GetWindowLongPtrW(list_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    return bars;
}

void CScrollBarFrame::SyncBar(CSkinScrollBar& bar, int which, bool redraw) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    if (!GetScrollInfo(list_, which, &info)) return;
    if (!RangePagePosDiffer(bar.State(), StateOf(info))) return;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.SetInfo(info, redraw);
    EnableWindow(bar.hwnd(), ScrollBarEnabled(bar.State()));
}

void CScrollBarFrame::SyncBars() {
    const ListScrollBars bars = ListBars();
    if (bars.vertical) SyncBar(vertical_, SB_VERT, true);
    if (bars.horizontal) SyncBar(horizontal_, SB_HORZ, true);
}

void CScrollBarFrame::Layout() {
    updating_ = true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const ListScrollBars bars = ListBars();
    const ScrollFrameLayout layout = LayoutScrollFrame(client.right, client.bottom, vertical_.Thickness(), bars);
    cornerMode_ = layout.cornerMode;
    if (limit_)
        MoveWindow(limit_->hwnd(), layout.limit.left, layout.limit.top, layout.limit.Width(), layout.limit.Height(),
                   TRUE);
    SetWindowPos(list_, nullptr, layout.listOrigin.x, layout.listOrigin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto place = [](CSkinScrollBar& bar, const SkinRect& rect) {
        MoveWindow(bar.hwnd(), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
        ShowWindow(bar.hwnd(), rect.IsEmpty() ? SW_HIDE : SW_SHOWNA);
    };
    place(vertical_, layout.verticalBar);
    place(horizontal_, layout.horizontalBar);
    updating_ = false;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void CScrollBarFrame::AfterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT) {
    if (message == WM_DESTROY) {
        Restore();  // the list goes alone; the frame goes with it
        return;
    }
    if (updating_) return;
    if (message == WM_NCCALCSIZE) {
        if (wParam) {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            RECT& r = params->rgrc[0];
            r = ToRect(WidenListClient(ToSkinRect(r), GetSystemMetrics(SM_CXVSCROLL), vertical_.Thickness(),
                                       ListBars()));
            PostMessageW(hwnd(), kFrameLayoutMessage, 0, 0);
        }
        return;
    }
    // Whatever the list just did may have scrolled it or changed its rows:
    // the bars follow its own scroll state.
    SyncBars();
}

void CScrollBarFrame::WatchedWindowGone() {
    // The list's object let go of it (deleted first): the list leaves the frame.
    watching_ = false;
    Restore();
}

LRESULT CScrollBarFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kFrameLayoutMessage:
            Layout();
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL: {
            CSkinScrollBar& bar = message == WM_VSCROLL ? vertical_ : horizontal_;
            if (reinterpret_cast<HWND>(lParam) != bar.hwnd()) break;
            updating_ = true;
            const int code = LOWORD(wParam);
            if (message == WM_VSCROLL && (code == scroll_code::kThumbTrack || code == scroll_code::kThumbPosition)) {
                // A list's scroll position is its top row. Some list boxes read a
                // thumb position from their own (hidden) bar's track position,
                // not from the message: set the row itself.
                SendMessageW(list_, LB_SETTOPINDEX, HIWORD(wParam), 0);
            } else {
                SendMessageW(list_, message, wParam, 0);
            }
            updating_ = false;
            if (LOWORD(wParam) != scroll_code::kThumbTrack)
                SyncBar(bar, message == WM_VSCROLL ? SB_VERT : SB_HORZ, true);
            return 0;
        }
        case WM_ERASEBKGND:
            return TRUE;
        default:
            if (message == SkinRescaleMessage()) {
                // Moved and sized already: the bars take the set's pictures
                // (and so their thickness), the list its rows, then the layout.
                HBITMAP bitmap = SkinResourceBitmap(ScrollBitmapGrid::kResourceId, L"scrollbar_368.bmp");
                horizontal_.SetBitmap(bitmap);
                vertical_.SetBitmap(bitmap);
                SendMessageW(list_, message, wParam, lParam);
                Layout();
                InvalidateRect(hwnd(), nullptr, FALSE);
                return 0;
            }
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}

bool CScrollBarFrame::OnSize(UINT, int width, int height) {
    if (width > 0 && height > 0 && !updating_)
        SetWindowPos(list_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return false;
}

bool CScrollBarFrame::OnPaint() {
    PaintDC paint(hwnd());
    if (!paint.get() || cornerMode_ == kNoCorner) return true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const ScrollFrameLayout layout =
        LayoutScrollFrame(client.right, client.bottom, vertical_.Thickness(), ListBars());
    vertical_.PaintCorner(paint.get(), layout.corner, cornerMode_);
    return true;
}

void CScrollBarFrame::OnDestroy() {
    // Destroyed with its parent: the list goes down with it, on its own.
    EndWatch();
}

// ---- CSkinScrollBar's entry points for a list ------------------------------------------

bool CSkinScrollBar::SkinList(HWND list, HBITMAP bitmap) {
    if (!list || FrameOf(list)) return false;
    auto frame = std::make_unique<CScrollBarFrame>(list, bitmap);
    const bool attached = frame->Attach();
    // From here the frame's window owns the object: its final message deletes it.
    if (frame->hwnd()) {
        CScrollBarFrame* owned = frame.release();
        if (!attached) owned->Restore();
    }
    return attached;
}

CScrollBarFrame* CSkinScrollBar::FrameOf(HWND list) {
    return list ? static_cast<CScrollBarFrame*>(GetPropW(list, kFrameProperty)) : nullptr;
}

void CSkinScrollBar::HideSkinned(HWND list) {
    if (CScrollBarFrame* frame = FrameOf(list)) ShowWindow(frame->hwnd(), SW_HIDE);
}

void CSkinScrollBar::ShowSkinned(HWND list) {
    // A drop-down list lies over its siblings: it must be the one the pointer hits.
    if (CScrollBarFrame* frame = FrameOf(list))
        SetWindowPos(frame->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool CScrollBarFrame::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kClient;
    if (const CWindow* list = CWindow::FromHandle(list_)) facts.name = list->AccessibleName();
    return true;
}
