#include "skin_scroll_bar.h"

#include <algorithm>
#include <memory>

#include "gdi.h"
#include "list_box_model.h"

namespace {

constexpr wchar_t kBarClass[] = L"GmSkinScrollBar";
constexpr wchar_t kFrameClass[] = L"GmSkinScrollBarFrame";
constexpr wchar_t kFrameName[] = L"SkinScrollBarFrame";
constexpr wchar_t kLimitClass[] = L"GmSkinScrollLimit";
constexpr wchar_t kLimitName[] = L"LIMIT";
// The frame of a skinned list, found from the list.
constexpr wchar_t kFrameProperty[] = L"SkinScrollBarFrame";

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

ScrollBitmapGrid GridOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return ScrollBitmapGrid::FromBitmap(0, 0);
    return ScrollBitmapGrid::FromBitmap(info.bmWidth, info.bmHeight);
}

void Blit(HDC dc, HDC source, const SkinRect& to, const SkinRect& from) {
    if (to.IsEmpty() || from.IsEmpty()) return;
    if (to.Width() == from.Width() && to.Height() == from.Height()) {
        BitBlt(dc, to.left, to.top, to.Width(), to.Height(), source, from.left, from.top, SRCCOPY);
    } else {
        StretchBlt(dc, to.left, to.top, to.Width(), to.Height(), source, from.left, from.top, from.Width(),
                   from.Height(), SRCCOPY);
    }
}

// Repeats a picture along the bar over a stretch, cutting the last copy.
void Tile(HDC dc, HDC source, ScrollBarKind kind, const ScrollSpan& along, int32_t thickness, const SkinRect& from) {
    const bool vertical = kind == ScrollBarKind::kVertical;
    const int32_t step = vertical ? from.Height() : from.Width();
    if (step <= 0) return;
    for (int32_t at = along.begin; at < along.end; at += step) {
        const int32_t piece = std::min(step, along.end - at);
        const SkinRect to = vertical ? SkinRect{0, at, thickness, at + piece} : SkinRect{at, 0, at + piece, thickness};
        const SkinRect part = vertical ? SkinRect{from.left, from.top, from.right, from.top + piece}
                                       : SkinRect{from.left, from.top, from.left + piece, from.bottom};
        Blit(dc, source, to, part);
    }
}

SkinRect AlongRect(ScrollBarKind kind, const ScrollSpan& along, int32_t thickness) {
    return kind == ScrollBarKind::kVertical ? SkinRect{0, along.begin, thickness, along.end}
                                            : SkinRect{along.begin, 0, along.end, thickness};
}

SkinRect SourceSlice(ScrollBarKind kind, const SkinRect& square, const ScrollSpan& slice) {
    return kind == ScrollBarKind::kVertical
               ? SkinRect{square.left, square.top + slice.begin, square.right, square.top + slice.end}
               : SkinRect{square.left + slice.begin, square.top, square.left + slice.end, square.bottom};
}

ScrollState StateOf(const SCROLLINFO& info) {
    ScrollState state;
    state.min = info.nMin;
    state.max = info.nMax;
    state.page = info.nPage;
    state.pos = info.nPos;
    return state;
}

}  // namespace

// ---- CSkinScrollBar ------------------------------------------------------------------

CSkinScrollBar::CSkinScrollBar(ScrollBarKind kind, HBITMAP bitmap)
    : kind_(kind), bitmap_(bitmap), grid_(GridOf(bitmap)) {}

bool CSkinScrollBar::Create(HWND frame, int id) {
    CreateParams p;
    p.className = kBarClass;
    p.style = WS_CHILD | (kind_ == ScrollBarKind::kVertical ? SBS_VERT : SBS_HORZ);
    p.x = 0;
    p.y = 0;
    p.width = kind_ == ScrollBarKind::kVertical ? grid_.cell : 0;
    p.height = kind_ == ScrollBarKind::kVertical ? 0 : grid_.cell;
    p.parent = frame;
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    p.classStyle = CS_DBLCLKS;
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return CWindow::Create(p);
}

ScrollBarGeometry CSkinScrollBar::Geometry() const {
    RECT client{};
    if (hwnd()) GetClientRect(hwnd(), &client);
    const int32_t length = kind_ == ScrollBarKind::kVertical ? client.bottom : client.right;
    return ScrollBarGeometry(kind_, grid_.cell, length, state_);
}

void CSkinScrollBar::SetInfo(const SCROLLINFO& info, bool redraw) {
    if (info.fMask & SIF_RANGE) {
        state_.min = info.nMin;
        state_.max = info.nMax;
    }
    if (info.fMask & SIF_PAGE) state_.page = info.nPage;
    if (info.fMask & SIF_POS) state_.pos = info.nPos;
    if (redraw && hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinScrollBar::Send(int code, int position) {
    if (HWND frame = GetParent(hwnd()))
        SendMessageW(frame, kind_ == ScrollBarKind::kVertical ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(hwnd()));
}

void CSkinScrollBar::DrawPart(HDC dc, const ScrollBarGeometry& geometry, ScrollPart part, PartLook look) {
    MemoryDC source(dc);
    if (!source || !bitmap_) return;
    SelectGuard select(source.get(), bitmap_);
    const SkinRect from = grid_.Source(kind_, part, look);
    switch (part) {
        case ScrollPart::kFirstArrow:
        case ScrollPart::kSecondArrow:
            Blit(dc, source.get(), geometry.PartRect(part), from);
            break;
        case ScrollPart::kTrackBefore:
        case ScrollPart::kTrackAfter:
            Tile(dc, source.get(), kind_, geometry.PartSpan(part), grid_.cell, from);
            break;
        case ScrollPart::kThumb: {
            if (!geometry.HasThumb()) break;
            const int32_t square = kind_ == ScrollBarKind::kVertical ? from.Height() : from.Width();
            const ThumbSlices slices = SliceThumb(geometry.ThumbStart(), geometry.ThumbLength(), square);
            Blit(dc, source.get(), AlongRect(kind_, slices.headDest, grid_.cell),
                 SourceSlice(kind_, from, slices.headSource));
            Tile(dc, source.get(), kind_, slices.middleDest, grid_.cell, SourceSlice(kind_, from, slices.middleSource));
            Blit(dc, source.get(), AlongRect(kind_, slices.tailDest, grid_.cell),
                 SourceSlice(kind_, from, slices.tailSource));
            break;
        }
        case ScrollPart::kNone:
            break;
    }
}

void CSkinScrollBar::DrawTrackAndThumb(HDC dc, const ScrollBarGeometry& geometry) {
    DrawPart(dc, geometry, ScrollPart::kTrackBefore, PartLook::kNormal);
    DrawPart(dc, geometry, ScrollPart::kTrackAfter, PartLook::kNormal);
    DrawPart(dc, geometry, ScrollPart::kThumb, LookOf(ScrollPart::kThumb, pointer_));
}

bool CSkinScrollBar::OnPaint() {
    PaintDC paint(hwnd());
    if (!paint.get()) return true;
    const ScrollBarGeometry geometry = Geometry();
    DrawPart(paint.get(), geometry, ScrollPart::kFirstArrow, LookOf(ScrollPart::kFirstArrow, pointer_));
    DrawPart(paint.get(), geometry, ScrollPart::kSecondArrow, LookOf(ScrollPart::kSecondArrow, pointer_));
    DrawTrackAndThumb(paint.get(), geometry);
    return true;
}

void CSkinScrollBar::RedrawPart(ScrollPart part) {
    if (part == ScrollPart::kNone || !hwnd()) return;
    const RECT rc = ToRect(Geometry().PartRect(part));
    InvalidateRect(hwnd(), &rc, FALSE);
}

bool CSkinScrollBar::OnLButtonDown(POINT at, UINT) {
    SetCapture(hwnd());
    const ScrollBarGeometry geometry = Geometry();
    const SkinPoint point{at.x, at.y};
    const ScrollPart part = geometry.PartAt(point);
    if (part == ScrollPart::kThumb) {
        grabAlong_ = geometry.Along(point);
        pointer_.dragging = true;
        dragStart_ = state_.pos;
        state_.trackPos = state_.pos;
        RedrawPart(ScrollPart::kThumb);
    } else if (part != ScrollPart::kNone) {
        pointer_.pressed = part;
        pointer_.outsidePressed = false;
        Send(ScrollCodeOf(part));
        SetTimer(hwnd(), kFirstRepeatTimerId, kFirstRepeatDelayMs, nullptr);
        RedrawPart(part);
    }
    return true;
}

void CSkinScrollBar::StopRepeat() {
    KillTimer(hwnd(), repeating_ ? kRepeatTimerId : kFirstRepeatTimerId);
    repeating_ = false;
}

bool CSkinScrollBar::OnTimer(UINT_PTR id) {
    if (id == kFirstRepeatTimerId) {
        KillTimer(hwnd(), kFirstRepeatTimerId);
        repeating_ = true;
        SetTimer(hwnd(), kRepeatTimerId, kRepeatIntervalMs, nullptr);
        return true;
    }
    if (id != kRepeatTimerId) return false;
    if (pointer_.pressed == ScrollPart::kNone) return true;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd(), &cursor);
    const RepeatStep step = NextRepeat(pointer_.pressed, state_, Geometry().PartAt(SkinPoint{cursor.x, cursor.y}));
    if (step.action == RepeatAction::kStop) {
        KillTimer(hwnd(), kRepeatTimerId);
    } else if (step.action == RepeatAction::kSend) {
        Send(step.code);
    }
    return true;
}

bool CSkinScrollBar::OnMouseMove(POINT at, UINT) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    const ScrollBarGeometry geometry = Geometry();
    const SkinPoint point{at.x, at.y};
    if (pointer_.dragging) {
        const int32_t position = geometry.DragPosition(dragStart_, grabAlong_, geometry.Along(point));
        if (position != state_.trackPos) {
            InvalidateRect(hwnd(), nullptr, FALSE);  // the track where the thumb was, and the thumb
            state_.trackPos = position;
            Send(scroll_code::kThumbTrack, position);
        }
        return true;
    }
    const ScrollPart part = geometry.PartAt(point);
    if (pointer_.pressed == ScrollPart::kNone) {
        if (part != pointer_.hot) {
            const ScrollPart old = pointer_.hot;
            pointer_.hot = part;
            if (ShowsHot(old)) RedrawPart(old);
            if (ShowsHot(part)) RedrawPart(part);
        }
    } else {
        const bool outside = part != pointer_.pressed;
        if (outside != pointer_.outsidePressed) {
            pointer_.outsidePressed = outside;
            RedrawPart(pointer_.pressed);
        }
    }
    return true;
}

bool CSkinScrollBar::OnMouseLeave() {
    trackingLeave_ = false;
    if (pointer_.hot != ScrollPart::kNone && pointer_.pressed == ScrollPart::kNone && !pointer_.dragging) {
        const ScrollPart old = pointer_.hot;
        pointer_.hot = ScrollPart::kNone;
        RedrawPart(old);
    }
    return true;
}

bool CSkinScrollBar::OnLButtonUp(POINT, UINT) {
    if (GetCapture() == hwnd()) ReleaseCapture();
    if (pointer_.dragging) {
        pointer_.dragging = false;
        const int32_t position = state_.trackPos;
        state_.trackPos = -1;
        Send(scroll_code::kThumbPosition, position);
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    if (pointer_.pressed != ScrollPart::kNone) {
        StopRepeat();
        const ScrollPart old = pointer_.pressed;
        pointer_.pressed = ScrollPart::kNone;
        pointer_.outsidePressed = false;
        RedrawPart(old);
    }
    return true;
}

LRESULT CSkinScrollBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;  // every pixel is painted from the bitmap
    if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != hwnd()) {
        // Someone else took the mouse mid-press: stop repeating, end the drag where it is.
        if (pointer_.pressed != ScrollPart::kNone) StopRepeat();
        pointer_.pressed = ScrollPart::kNone;
        if (pointer_.dragging) {
            pointer_.dragging = false;
            state_.trackPos = -1;
        }
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}

// ---- the frame --------------------------------------------------------------------------

// The clipping window between the frame and the list. A list may still address
// its owner through its parent: whatever reaches this window for the owner goes on.
class CScrollBarFrame::LimitWindow : public CWindow {
public:
    explicit LimitWindow(HWND owner) : owner_(owner) {}

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_COMMAND:
            case WM_NOTIFY:
            case WM_DRAWITEM:
            case WM_MEASUREITEM:
            case WM_COMPAREITEM:
            case WM_DELETEITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_CTLCOLORLISTBOX:
                if (owner_) return SendMessageW(owner_, message, wParam, lParam);
                break;
            case ListRowEditor::kRowEditedMessage:
                // A list edited in place tells its parent; the owner is the one to hear it.
                if (owner_) PostMessageW(owner_, message, wParam, lParam);
                return 0;
            case WM_ERASEBKGND:
                return TRUE;  // the list covers it
            default:
                break;
        }
        return CWindow::HandleMessage(message, wParam, lParam);
    }

private:
    HWND owner_;  // not owned: the list's first parent
};

CScrollBarFrame::CScrollBarFrame(HWND list, HBITMAP bitmap)
    : list_(list),
      bitmap_(bitmap),
      horizontal_(ScrollBarKind::kHorizontal, bitmap),
      vertical_(ScrollBarKind::kVertical, bitmap) {}

CScrollBarFrame::~CScrollBarFrame() { Unsubclass(); }

bool CScrollBarFrame::Attach() {
    firstParent_ = GetParent(list_);
    if (!firstParent_) return false;
    RECT rc{};
    GetWindowRect(list_, &rc);
    MapWindowPoints(nullptr, firstParent_, reinterpret_cast<POINT*>(&rc), 2);
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(list_, GWL_STYLE));
    const auto exStyle = static_cast<uint32_t>(GetWindowLongPtrW(list_, GWL_EXSTYLE));
    const SkinnedListStyles styles = SkinListStyles(style, exStyle, rc.right - rc.left, rc.bottom - rc.top,
                                                    GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CXEDGE));

    CreateParams p;
    p.className = kFrameClass;
    p.title = kFrameName;
    p.style = styles.frameStyle;
    p.exStyle = styles.frameExStyle;
    p.x = rc.left;
    p.y = rc.top;
    p.width = rc.right - rc.left;
    p.height = rc.bottom - rc.top;
    p.parent = firstParent_;
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(list_)));
    if (!Create(p)) return false;

    limit_ = std::make_unique<LimitWindow>(firstParent_);
    CreateParams l;
    l.className = kLimitClass;
    l.title = kLimitName;
    l.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    l.x = l.y = l.width = l.height = 0;
    l.parent = hwnd();
    l.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLimitWindowId));
    if (!limit_->Create(l) || !horizontal_.Create(hwnd(), kHorizontalBarId) ||
        !vertical_.Create(hwnd(), kVerticalBarId))
        return false;

    SetWindowLongPtrW(list_, GWL_STYLE, static_cast<LONG_PTR>(styles.listStyle));
    SetWindowLongPtrW(list_, GWL_EXSTYLE, static_cast<LONG_PTR>(styles.listExStyle));
    SetParent(list_, limit_->hwnd());
    SetPropW(list_, kFrameProperty, static_cast<HANDLE>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CScrollBarFrame::ListProc)));
    // The new frame style makes the list compute its client area again: the
    // subclass sees that and lays the bars out.
    SetWindowPos(list_, nullptr, 0, 0, styles.listWidth, styles.listHeight, SWP_NOZORDER | SWP_FRAMECHANGED);
    SetTimer(hwnd(), kFrameSyncTimerId, kFrameSyncIntervalMs, nullptr);
    return true;
}

void CScrollBarFrame::Unsubclass() {
    if (!listProc_) return;
    if (IsWindow(list_)) {
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
        RemovePropW(list_, kFrameProperty);
    }
    listProc_ = nullptr;
}

void CScrollBarFrame::Restore() {
    if (restoring_) return;
    restoring_ = true;
    Unsubclass();
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

LRESULT CALLBACK CScrollBarFrame::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = static_cast<CScrollBarFrame*>(GetPropW(list, kFrameProperty));
    if (!frame || !frame->listProc_) return DefWindowProcW(list, message, wParam, lParam);
    return frame->OnListMessage(message, wParam, lParam);
}

LRESULT CScrollBarFrame::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = listProc_;
    if (message == WM_DESTROY) {
        Restore();  // gives the list its own procedure back; the frame goes
        return CallWindowProcW(previous, list_, message, wParam, lParam);
    }
    const LRESULT result = CallWindowProcW(previous, list_, message, wParam, lParam);
    if (updating_) return result;
    switch (message) {
        case WM_ERASEBKGND: {
            const ListScrollBars bars = ListBars();
            if (bars.vertical) SyncBar(vertical_, SB_VERT, true);
            if (bars.horizontal) SyncBar(horizontal_, SB_HORZ, true);
            break;
        }
        case WM_NCCALCSIZE:
            if (wParam) {
                auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
                RECT& r = params->rgrc[0];
                const SkinRect widened = WidenListClient(SkinRect{r.left, r.top, r.right, r.bottom},
                                                         GetSystemMetrics(SM_CXVSCROLL), vertical_.Thickness(),
                                                         ListBars());
                r = ToRect(widened);
                PostMessageW(hwnd(), kFrameLayoutMessage, 0, 0);
            }
            break;
        default:
            break;
    }
    return result;
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
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}

bool CScrollBarFrame::OnSize(UINT, int width, int height) {
    if (width > 0 && height > 0 && !updating_)
        SetWindowPos(list_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return false;
}

bool CScrollBarFrame::OnTimer(UINT_PTR id) {
    if (id != kFrameSyncTimerId) return false;
    if (IsWindowVisible(vertical_.hwnd()) && !vertical_.Dragging()) SyncBar(vertical_, SB_VERT, true);
    if (IsWindowVisible(horizontal_.hwnd()) && !horizontal_.Dragging()) SyncBar(horizontal_, SB_HORZ, true);
    return true;
}

bool CScrollBarFrame::OnPaint() {
    PaintDC paint(hwnd());
    if (!paint.get() || cornerMode_ == 0 || !bitmap_) return true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const ScrollFrameLayout layout =
        LayoutScrollFrame(client.right, client.bottom, vertical_.Thickness(), ListBars());
    MemoryDC source(paint.get());
    if (!source) return true;
    SelectGuard select(source.get(), bitmap_);
    Blit(paint.get(), source.get(), layout.corner, GridOf(bitmap_).CornerSource(cornerMode_));
    return true;
}

void CScrollBarFrame::OnDestroy() {
    KillTimer(hwnd(), kFrameSyncTimerId);
    // Destroyed with its parent: the list goes down with it, under its own procedure.
    Unsubclass();
}

// ---- attaching -------------------------------------------------------------------------

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
