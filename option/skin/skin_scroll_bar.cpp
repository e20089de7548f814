#include "skin_scroll_bar.h"

#include <algorithm>

#include "gdi.h"
#include "scroll_bar_frame.h"
#include "skin_control.h"
#include "skin_rect_win32.h"

namespace {

constexpr wchar_t kBarClass[] = L"GmSkinScrollBar";

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

}  // namespace

// ---- CSkinScrollBar ------------------------------------------------------------------

CSkinScrollBar::CSkinScrollBar(ScrollBarKind kind, HBITMAP bitmap)
    : kind_(kind),
      bitmap_(bitmap),
      grid_(GridOf(bitmap)),
      hover_(
          *this, [this](const HoverState::Change& change) { OnHoverChange(change); },
          [this](POINT at) { return static_cast<int>(Geometry().PartAt(SkinPoint{at.x, at.y})); }) {}

bool CSkinScrollBar::Create(HWND frame, int id) {
    // Hidden and of no length until the frame lays the bars out.
    const bool vertical = kind_ == ScrollBarKind::kVertical;
    CreateParams p = SkinControlParams(kBarClass, SkinRect{0, 0, vertical ? grid_.cell : 0, vertical ? 0 : grid_.cell},
                                       frame, id, WS_CHILD | (vertical ? SBS_VERT : SBS_HORZ));
    p.classStyle = CS_DBLCLKS;
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return CWindow::Create(p);
}

void CSkinScrollBar::SetBitmap(HBITMAP bitmap) {
    bitmap_ = bitmap;
    grid_ = GridOf(bitmap);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
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

void CSkinScrollBar::PaintCorner(HDC dc, const SkinRect& at, ScrollCorner corner) const {
    if (corner == kNoCorner || !bitmap_) return;
    MemoryDC source(dc);
    if (!source) return;
    SelectGuard select(source.get(), bitmap_);
    Blit(dc, source.get(), at, grid_.CornerSource(corner));
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
    if (hover_.OnTimer(id)) return true;
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

bool CSkinScrollBar::OnMouseMove(POINT at, UINT keys) {
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
    if (pointer_.pressed == ScrollPart::kNone) {
        hover_.OnMouseMove(at, keys);
        return true;
    }
    // While a part is held, hover is not followed: the held part shows
    // whether the pointer is still on it.
    const bool outside = geometry.PartAt(point) != pointer_.pressed;
    if (outside != pointer_.outsidePressed) {
        pointer_.outsidePressed = outside;
        RedrawPart(pointer_.pressed);
    }
    return true;
}

bool CSkinScrollBar::OnMouseLeave() {
    hover_.OnMouseLeave();
    return true;
}

void CSkinScrollBar::OnHoverChange(const HoverState::Change& change) {
    pointer_.hot = static_cast<ScrollPart>(hover_.Hot());
    // A held part keeps its look, whatever the pointer lights.
    if (pointer_.pressed != ScrollPart::kNone || pointer_.dragging) return;
    const auto left = static_cast<ScrollPart>(change.left);
    const auto entered = static_cast<ScrollPart>(change.entered);
    if (ShowsHot(left)) RedrawPart(left);
    if (ShowsHot(entered)) RedrawPart(entered);
}

void CSkinScrollBar::OnDestroy() {
    hover_.Stop();
    pointer_ = ScrollBarPointer{};
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

bool CSkinScrollBar::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kScrollBar;
    const auto* frame = hwnd() ? dynamic_cast<const CScrollBarFrame*>(CWindow::FromHandle(GetParent(hwnd()))) : nullptr;
    if (const CWindow* list = frame ? CWindow::FromHandle(frame->List()) : nullptr) facts.name = list->AccessibleName();
    facts.value = std::to_wstring(state_.ShownPos());
    // The keys scroll the list itself.
    facts.focusable = false;
    return true;
}
