#include "scroll_bar_geometry.h"

#include "skin_scale.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int64_t Range(const ScrollState& state) { return int64_t{state.max} - int64_t{state.min} + 1; }

// Rectangles are never handed out with a negative width or height: a frame or
// bar too small for its parts gets empty parts instead.
SkinRect Normalized(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return SkinRect{ToInt32(left), ToInt32(top), ToInt32(std::max(right, left)), ToInt32(std::max(bottom, top))};
}

bool IsArrow(ScrollPart part) { return part == ScrollPart::kFirstArrow || part == ScrollPart::kSecondArrow; }

bool IsTrack(ScrollPart part) { return part == ScrollPart::kTrackBefore || part == ScrollPart::kTrackAfter; }

}  // namespace

bool ScrollBarEnabled(const ScrollState& state) {
    // "maximum >= page" for the lists' minimum of 0, said so that it also
    // holds for any other minimum and for an inverted range.
    return Range(state) - int64_t{state.page} > 0;
}

bool RangePagePosDiffer(const ScrollState& a, const ScrollState& b) {
    return a.min != b.min || a.max != b.max || a.page != b.page || a.pos != b.pos;
}

int32_t LastScrollPosition(const ScrollState& state) {
    // A page of 0 still shows one position, like a page of 1.
    const int64_t page = std::max<int64_t>(state.page, 1);
    const int64_t last = int64_t{state.max} - page + 1;
    return ToInt32(std::max<int64_t>(last, state.min));
}

ScrollBarGeometry::ScrollBarGeometry(ScrollBarKind kind, int32_t thickness, int32_t length, const ScrollState& state)
    : kind_(kind), state_(state) {
    thickness_ = std::max(thickness, 0);
    length_ = std::max(length, 0);
    const int64_t c = thickness_;
    const int64_t len = length_;

    // When the bar is too short for two whole arrows the track vanishes and
    // the arrows share the length.
    const int64_t track = std::max<int64_t>(len - 2 * c, 0);
    const int64_t arrow = track == 0 ? len / 2 : c;

    const int64_t range = Range(state);
    span_ = range - int64_t{state.page};

    // Without positions to travel over (the page covers the range, or is even
    // larger, or the range is empty) there is no thumb: a page beyond the range
    // would otherwise give a thumb longer than its track, and an empty range a
    // division by zero. Since span > 0 means page < range, the proportional
    // length stays below the track, and the 12-pixel minimum fits because the
    // track is at least that long.
    int64_t thumb = 0;
    const int64_t minThumb = S(kMinThumb);
    if (track >= minThumb && span_ > 0) {
        thumb = std::max<int64_t>(int64_t{state.page} * track / range, minThumb);
    }

    // The offset is measured from the minimum, and the shown position kept
    // within [min, last], so a list with a non-zero minimum or a stale
    // position out of range still keeps its thumb inside the track.
    int64_t offset = 0;
    if (span_ > 0) {
        const int64_t shown = std::clamp<int64_t>(int64_t{state.ShownPos()} - state.min, 0, span_);
        offset = shown * (track - thumb) / span_;
    } else {
        offset = (track - thumb) / 2;
    }

    arrow_ = ToInt32(arrow);
    track_ = ToInt32(track);
    thumb_ = ToInt32(thumb);
    thumbStart_ = ToInt32(arrow + offset);
}

ScrollSpan ScrollBarGeometry::PartSpan(ScrollPart part) const {
    const int32_t thumbEnd = thumbStart_ + thumb_;
    switch (part) {
    case ScrollPart::kFirstArrow:
        return {0, arrow_};
    case ScrollPart::kTrackBefore:
        return {arrow_, thumbStart_};
    case ScrollPart::kThumb:
        return {thumbStart_, thumbEnd};
    case ScrollPart::kTrackAfter:
        return {thumbEnd, std::max(length_ - arrow_, thumbEnd)};
    case ScrollPart::kSecondArrow:
        return {length_ - arrow_, length_};
    case ScrollPart::kNone:
        break;
    }
    return {};
}

SkinRect ScrollBarGeometry::PartRect(ScrollPart part) const {
    if (part == ScrollPart::kNone) return {};
    const ScrollSpan span = PartSpan(part);
    if (kind_ == ScrollBarKind::kVertical) return SkinRect{0, span.begin, thickness_, span.end};
    return SkinRect{span.begin, 0, span.end, thickness_};
}

ScrollPart ScrollBarGeometry::PartAt(int32_t along) const {
    if (along < 0) return ScrollPart::kNone;
    if (along < arrow_) return ScrollPart::kFirstArrow;
    if (along < thumbStart_) return ScrollPart::kTrackBefore;
    if (along < thumbStart_ + thumb_) return ScrollPart::kThumb;
    if (along < length_ - arrow_) return ScrollPart::kTrackAfter;
    // An arrow of no length (no bitmap, or a bar of one pixel) is not there to hit.
    if (along <= length_ && arrow_ > 0) return ScrollPart::kSecondArrow;
    return ScrollPart::kNone;
}

ScrollPart ScrollBarGeometry::PartAt(SkinPoint client) const {
    const int32_t across = kind_ == ScrollBarKind::kVertical ? client.x : client.y;
    if (across < 0 || across >= thickness_) return ScrollPart::kNone;
    return PartAt(Along(client));
}

int32_t ScrollBarGeometry::DragPosition(int32_t dragStart, int32_t grabAlong, int32_t pointerAlong) const {
    // Limited to [min, last position]: the last position is min + span, the
    // same as the span itself for the lists' minimum of 0.
    const int64_t first = state_.min;
    const int64_t last = LastScrollPosition(state_);
    const int64_t start = std::clamp<int64_t>(dragStart, first, last);
    const int64_t room = int64_t{track_} - thumb_;
    int64_t moved = 0;
    if (room > 0 && span_ > 0) {
        // Beyond one track's length the result is at an end anyway; cutting
        // the distance there keeps span x distance within 64 bits.
        const int64_t distance = std::clamp<int64_t>(int64_t{pointerAlong} - grabAlong, -room, room);
        moved = span_ * distance / room;
    }
    return ToInt32(std::clamp<int64_t>(start + moved, first, last));
}

ThumbSlices SliceThumb(int32_t thumbStart, int32_t thumbLength, int32_t square) {
    ThumbSlices slices;
    if (thumbLength <= 0 || square <= 0) return slices;
    const int64_t start = thumbStart;
    const int64_t end = start + thumbLength;
    // Ends shrink on a small square or thumb so they never overlap.
    const int64_t cap = std::min<int64_t>({S(ThumbSlices::kEnd), square / 2, thumbLength / 2});
    slices.headDest = {ToInt32(start), ToInt32(start + cap)};
    slices.headSource = {0, ToInt32(cap)};
    slices.tailDest = {ToInt32(end - cap), ToInt32(end)};
    slices.tailSource = {ToInt32(square - cap), square};
    slices.middleDest = {ToInt32(start + cap), ToInt32(end - cap)};
    slices.middleSource = {ToInt32(cap), ToInt32(square - cap)};
    // A square of one or two pixels has no middle of its own: tile all of it.
    if (slices.middleSource.Length() <= 0) slices.middleSource = {0, square};
    return slices;
}

ScrollBitmapGrid ScrollBitmapGrid::FromBitmap(int32_t width, int32_t height) {
    ScrollBitmapGrid grid;
    grid.cell = std::max(width, 0) / kColumns;
    grid.rowHeight = std::max(height, 0) / kRows;
    return grid;
}

int32_t ScrollBitmapGrid::Column(ScrollBarKind kind, ScrollPart part) {
    int32_t column = -1;
    switch (part) {
    case ScrollPart::kFirstArrow:
        column = 0;
        break;
    case ScrollPart::kSecondArrow:
        column = 1;
        break;
    case ScrollPart::kThumb:
        column = 2;
        break;
    case ScrollPart::kTrackBefore:
    case ScrollPart::kTrackAfter:
        column = 3;
        break;
    case ScrollPart::kNone:
        return -1;
    }
    return kind == ScrollBarKind::kHorizontal ? column + 4 : column;
}

SkinRect ScrollBitmapGrid::Source(ScrollBarKind kind, ScrollPart part, PartLook look) const {
    const int32_t column = Column(kind, part);
    if (column < 0) return {};
    const int64_t left = int64_t{column} * cell;
    if (look == PartLook::kNormal) return Normalized(left, 0, left + cell, cell);
    const int64_t top = int64_t{static_cast<int32_t>(look)} * rowHeight;
    return Normalized(left, top, left + cell, top + rowHeight);
}

SkinRect ScrollBitmapGrid::CornerSource(int cornerMode) const {
    const int64_t left = int64_t{kCornerColumn} * cell;
    if (cornerMode == kCornerBottomLeft) return Normalized(left, cell, left + cell, int64_t{2} * cell);
    if (cornerMode == kCornerBottomRight) return Normalized(left, 0, left + cell, cell);
    return {};
}

bool ShowsHot(ScrollPart part) { return IsArrow(part) || part == ScrollPart::kThumb; }

PartLook LookOf(ScrollPart part, const ScrollBarPointer& pointer) {
    if (part == ScrollPart::kThumb) {
        if (pointer.dragging) return PartLook::kPressed;
        return pointer.hot == ScrollPart::kThumb ? PartLook::kHot : PartLook::kNormal;
    }
    if (!IsArrow(part)) return PartLook::kNormal;
    if (pointer.pressed == part) return pointer.outsidePressed ? PartLook::kNormal : PartLook::kPressed;
    // While another part is held or the thumb dragged, hover is not followed.
    if (pointer.pressed == ScrollPart::kNone && !pointer.dragging && pointer.hot == part) return PartLook::kHot;
    return PartLook::kNormal;
}

RepeatStep NextRepeat(ScrollPart pressed, const ScrollState& state, ScrollPart partAtPointer) {
    if (!IsArrow(pressed) && !IsTrack(pressed)) return {RepeatAction::kStop, -1};
    const int32_t code = ScrollCodeOf(pressed);
    if (IsTrack(pressed)) {
        if (partAtPointer == pressed) return {RepeatAction::kSend, code};
        // The thumb has reached the pointer, or (a page being longer than the
        // thumb's last step) jumped past it: the held track is used up.
        const ScrollPart other =
            pressed == ScrollPart::kTrackBefore ? ScrollPart::kTrackAfter : ScrollPart::kTrackBefore;
        if (partAtPointer == ScrollPart::kThumb || partAtPointer == other) return {RepeatAction::kStop, -1};
        return {RepeatAction::kWait, -1};
    }
    if (partAtPointer != pressed) return {RepeatAction::kWait, -1};
    if (pressed == ScrollPart::kFirstArrow) {
        if (state.pos <= state.min) return {RepeatAction::kStop, -1};
        return {RepeatAction::kSend, code};
    }
    // The second arrow stops at the last position the list can reach: a list
    // with a page of several rows never arrives at the maximum itself, and the
    // timer would otherwise run until the button is released.
    if (state.pos >= LastScrollPosition(state)) return {RepeatAction::kStop, -1};
    return {RepeatAction::kSend, code};
}

ScrollCorner CornerMode(const ListScrollBars& bars) {
    if (!bars.vertical || !bars.horizontal) return kNoCorner;
    return bars.verticalOnLeft ? kCornerBottomLeft : kCornerBottomRight;
}

ScrollFrameLayout LayoutScrollFrame(int32_t clientWidth, int32_t clientHeight, int32_t thickness,
                                    const ListScrollBars& bars) {
    const int64_t w = std::max(clientWidth, 0);
    const int64_t h = std::max(clientHeight, 0);
    const int64_t c = std::max(thickness, 0);
    const bool left = bars.vertical && bars.verticalOnLeft;
    const bool right = bars.vertical && !bars.verticalOnLeft;

    ScrollFrameLayout layout;
    layout.limit = Normalized(left ? c : 0, 0, right ? w - c : w, bars.horizontal ? h - c : h);
    // The list's own left bar sits at its left edge: shifting the list left
    // by a bar's thickness puts that bar outside "LIMIT".
    layout.listOrigin = SkinPoint{left ? ToInt32(-c) : 0, 0};
    if (bars.vertical) {
        const int64_t x = left ? 0 : w - c;
        layout.verticalBar = Normalized(x, 0, x + c, bars.horizontal ? h - c : h);
    }
    if (bars.horizontal) {
        layout.horizontalBar = Normalized(left ? c : 0, h - c, right ? w - c : w, h);
    }
    layout.cornerMode = CornerMode(bars);
    if (layout.cornerMode == kCornerBottomLeft) layout.corner = Normalized(0, h - c, c, h);
    if (layout.cornerMode == kCornerBottomRight) layout.corner = Normalized(w - c, h - c, w, h);
    return layout;
}

SkinRect WidenListClient(const SkinRect& proposed, int32_t systemScrollWidth, int32_t thickness,
                         const ListScrollBars& bars) {
    const int64_t widen = int64_t{systemScrollWidth} - std::max(thickness, 0);
    int64_t left = proposed.left;
    int64_t right = proposed.right;
    int64_t bottom = proposed.bottom;
    if (bars.vertical) {
        if (bars.verticalOnLeft) {
            left -= widen;
        } else {
            right += widen;
        }
    }
    if (bars.horizontal) bottom += widen;
    return Normalized(left, proposed.top, right, bottom);
}

SkinnedListStyles SkinListStyles(uint32_t listStyle, uint32_t listExStyle, int32_t width, int32_t height,
                                 int32_t borderWidth, int32_t edgeWidth) {
    SkinnedListStyles out;
    out.frameStyle = frame_style::kFrameBase | (listStyle & frame_style::kVisible);
    // The list stays a stop of Tab inside its frame.
    out.frameExStyle = (listExStyle & frame_style::kExToolWindow) | frame_style::kExControlParent;
    out.listStyle = listStyle;
    out.listExStyle = listExStyle;
    int64_t w = width;
    int64_t h = height;
    if (listStyle & frame_style::kBorder) {
        out.listStyle &= ~frame_style::kBorder;
        out.frameStyle |= frame_style::kBorder;
        w -= 2 * int64_t{std::max(borderWidth, 0)};
        h -= 2 * int64_t{std::max(borderWidth, 0)};
    }
    if (listExStyle & frame_style::kExClientEdge) {
        out.listExStyle &= ~frame_style::kExClientEdge;
        out.frameExStyle |= frame_style::kExClientEdge;
        w -= 2 * int64_t{std::max(edgeWidth, 0)};
        h -= 2 * int64_t{std::max(edgeWidth, 0)};
    }
    // A list smaller than its borders keeps an empty size, not a negative one.
    out.listWidth = ToInt32(std::max<int64_t>(w, 0));
    out.listHeight = ToInt32(std::max<int64_t>(h, 0));
    return out;
}
