#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "scroll_bar_geometry.h"

namespace {

constexpr int32_t kC = 13;  // thickness from the shipped bitmap
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

ScrollState State(int32_t min, int32_t max, uint32_t page, int32_t pos, int32_t trackPos = -1) {
    return ScrollState{min, max, page, pos, trackPos};
}

ScrollBarGeometry Vertical(int32_t length, const ScrollState& state, int32_t thickness = kC) {
    return ScrollBarGeometry(ScrollBarKind::kVertical, thickness, length, state);
}

// A list of 100 rows showing 10 on a bar 100 pixels long: arrows of 13, a
// track of 74, a thumb of 12 (the minimum; 10 x 74 / 100 is 7), 62 pixels of
// travel for 90 positions.
const ScrollState kHundredRows = State(0, 99, 10, 0);

}  // namespace

TEST(ScrollBitmapGrid, ShippedBitmapCellsForEveryPartAndLook) {
    const ScrollBitmapGrid grid = ScrollBitmapGrid::FromBitmap(117, 48);
    EXPECT_EQ(grid.cell, 13);
    EXPECT_EQ(grid.rowHeight, 16);
    using K = ScrollBarKind;
    using P = ScrollPart;
    using L = PartLook;
    // Normal pictures are the square at the top of the column.
    EXPECT_EQ(grid.Source(K::kVertical, P::kFirstArrow, L::kNormal), (SkinRect{0, 0, 13, 13}));
    EXPECT_EQ(grid.Source(K::kVertical, P::kThumb, L::kNormal), (SkinRect{26, 0, 39, 13}));
    EXPECT_EQ(grid.Source(K::kVertical, P::kTrackBefore, L::kNormal),
              grid.Source(K::kVertical, P::kTrackAfter, L::kNormal));
    EXPECT_EQ(grid.Source(K::kHorizontal, P::kFirstArrow, L::kNormal), (SkinRect{52, 0, 65, 13}));
    // Hot and pressed pictures are whole cells of their row.
    EXPECT_EQ(grid.Source(K::kVertical, P::kFirstArrow, L::kHot), (SkinRect{0, 16, 13, 32}));
    EXPECT_EQ(grid.Source(K::kHorizontal, P::kSecondArrow, L::kPressed), (SkinRect{65, 32, 78, 48}));
    EXPECT_TRUE(grid.Source(K::kVertical, P::kNone, L::kNormal).IsEmpty());
    // Corner square: from the last column, one cell down for a bar on the left.
    EXPECT_EQ(grid.CornerSource(1), (SkinRect{104, 13, 117, 26}));
    EXPECT_EQ(grid.CornerSource(2), (SkinRect{104, 0, 117, 13}));
    EXPECT_TRUE(grid.CornerSource(0).IsEmpty());

    // Nothing is ever taken from outside the bitmap.
    for (K kind : {K::kVertical, K::kHorizontal}) {
        for (P part : {P::kFirstArrow, P::kSecondArrow, P::kTrackBefore, P::kTrackAfter, P::kThumb}) {
            for (L look : {L::kNormal, L::kHot, L::kPressed}) {
                const SkinRect r = grid.Source(kind, part, look);
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 117 && r.bottom <= 48 && !r.IsEmpty());
            }
        }
    }
}

TEST(ScrollBitmapGrid, MissingOrOddBitmaps) {
    const ScrollBitmapGrid none = ScrollBitmapGrid::FromBitmap(0, 0);
    EXPECT_EQ(none.cell, 0);
    EXPECT_TRUE(none.Source(ScrollBarKind::kVertical, ScrollPart::kThumb, PartLook::kHot).IsEmpty());
    EXPECT_TRUE(none.CornerSource(1).IsEmpty());
    EXPECT_EQ(ScrollBitmapGrid::FromBitmap(-90, -30).cell, 0);
    // Cells are whole pixels; the rest of an odd bitmap is never used.
    const ScrollBitmapGrid odd = ScrollBitmapGrid::FromBitmap(125, 50);
    EXPECT_EQ(odd.cell, 13);
    EXPECT_EQ(odd.rowHeight, 16);
}

TEST(ScrollBarGeometry, ArrowsAndTrack) {
    const ScrollBarGeometry normal = Vertical(100, kHundredRows);
    EXPECT_EQ(normal.Arrow(), 13);
    EXPECT_EQ(normal.Track(), 74);

    // Exactly two arrows: no track, and the arrows keep their size.
    EXPECT_EQ(Vertical(26, kHundredRows).Track(), 0);
    EXPECT_EQ(Vertical(26, kHundredRows).Arrow(), 13);
    // Shorter than two arrows: they share the length.
    const ScrollBarGeometry shortBar = Vertical(25, kHundredRows);
    EXPECT_EQ(shortBar.Track(), 0);
    EXPECT_EQ(shortBar.Arrow(), 12);
    EXPECT_EQ(shortBar.PartAt(11), ScrollPart::kFirstArrow);
    EXPECT_EQ(shortBar.PartAt(13), ScrollPart::kSecondArrow);
    EXPECT_EQ(shortBar.PartAt(25), ScrollPart::kSecondArrow);
    // One pixel longer than two arrows: a one-pixel track.
    EXPECT_EQ(Vertical(27, kHundredRows).Track(), 1);
    EXPECT_EQ(Vertical(27, kHundredRows).Arrow(), 13);

    const ScrollBarGeometry empty = Vertical(0, kHundredRows);
    EXPECT_EQ(empty.Arrow(), 0);
    EXPECT_EQ(empty.PartAt(0), ScrollPart::kNone);
    const ScrollBarGeometry negative = Vertical(-40, kHundredRows, -5);
    EXPECT_EQ(negative.Length(), 0);
    EXPECT_EQ(negative.Thickness(), 0);
    EXPECT_FALSE(negative.HasThumb());
    // Without a bitmap the bar is all track.
    const ScrollBarGeometry thin = Vertical(100, kHundredRows, 0);
    EXPECT_EQ(thin.Arrow(), 0);
    EXPECT_EQ(thin.Track(), 100);
    EXPECT_EQ(thin.PartAt(SkinPoint{0, 50}), ScrollPart::kNone);
}

TEST(ScrollBarGeometry, ThumbLength) {
    EXPECT_EQ(Vertical(100, kHundredRows).ThumbLength(), 12);          // 7 raised to the minimum
    EXPECT_EQ(Vertical(100, State(0, 99, 50, 0)).ThumbLength(), 37);  // 50 x 74 / 100
    EXPECT_EQ(Vertical(100, State(0, 99, 0, 0)).ThumbLength(), 12);
    EXPECT_EQ(Vertical(100, State(0, 2, 1, 0)).ThumbLength(), 24);  // 74 / 3, truncated
    // A track of exactly 12 still has a thumb, filling it; 11 has none.
    EXPECT_EQ(Vertical(38, kHundredRows).ThumbLength(), 12);
    EXPECT_FALSE(Vertical(37, kHundredRows).HasThumb());
    EXPECT_TRUE(Vertical(38, kHundredRows).HasThumb());
}

TEST(ScrollBarGeometry, NothingToScrollGivesNoThumbAndADisabledBar) {
    // The page covers the whole range: a centred split, no thumb.
    const ScrollState fits = State(0, 99, 100, 0);
    const ScrollBarGeometry g = Vertical(100, fits);
    EXPECT_FALSE(g.HasThumb());
    EXPECT_EQ(g.Span(), 0);
    EXPECT_EQ(g.ThumbStart(), 13 + 37);
    EXPECT_FALSE(ScrollBarEnabled(fits));
    EXPECT_TRUE(ScrollBarEnabled(State(0, 99, 99, 0)));

    // A page larger than the range, an empty range, an inverted range.
    for (const ScrollState& s : {State(0, 99, 150, 0), State(0, -1, 0, 0), State(50, 10, 5, 30),
                                 State(0, 99, std::numeric_limits<uint32_t>::max(), 99)}) {
        const ScrollBarGeometry bar = Vertical(100, s);
        EXPECT_FALSE(bar.HasThumb());
        EXPECT_EQ(bar.ThumbStart(), 50);
        EXPECT_LE(bar.Span(), 0);
        EXPECT_FALSE(ScrollBarEnabled(s));
    }
    // Nothing to scroll with a minimum other than 0 either.
    EXPECT_FALSE(ScrollBarEnabled(State(100, 150, 60, 100)));
    EXPECT_TRUE(ScrollBarEnabled(State(100, 150, 50, 100)));
    // The largest page is not taken for a negative number.
    EXPECT_FALSE(ScrollBarEnabled(State(0, kIntMax, std::numeric_limits<uint32_t>::max(), 0)));
}

TEST(ScrollBarGeometry, ThumbOffsetFollowsPositionWithIntegerDivision) {
    auto start = [](const ScrollState& s) { return Vertical(100, s).ThumbStart(); };
    EXPECT_EQ(start(State(0, 99, 10, 0)), 13);
    EXPECT_EQ(start(State(0, 99, 10, 1)), 13);   // 62 / 90 truncates to 0
    EXPECT_EQ(start(State(0, 99, 10, 2)), 14);   // 124 / 90
    EXPECT_EQ(start(State(0, 99, 10, 45)), 44);  // 45 x 62 / 90 = 31
    EXPECT_EQ(start(State(0, 99, 10, 90)), 75);  // the last position: thumb ends where the second arrow starts
    EXPECT_EQ(start(State(0, 99, 10, 90)) + 12, 100 - 13);
    // A running drag shows the track position instead.
    EXPECT_EQ(start(State(0, 99, 10, 0, 30)), 33);  // 30 x 62 / 90 = 20.7

    // Positions out of range keep the thumb inside the track.
    EXPECT_EQ(start(State(0, 99, 10, 99)), 75);
    EXPECT_EQ(start(State(0, 99, 10, kIntMin)), 13);
    // A range that does not start at 0 is measured from its minimum.
    EXPECT_EQ(start(State(100, 199, 10, 145)), 44);
    EXPECT_EQ(start(State(100, 199, 10, 190)), 75);
    EXPECT_EQ(start(State(-50, 49, 10, -50)), 13);

    // The whole 32-bit range.
    EXPECT_EQ(start(State(kIntMin, kIntMax, 1, kIntMin)), 13);
    EXPECT_EQ(start(State(kIntMin, kIntMax, 1, kIntMax)), 75);
    // With a page of 0 the span is the whole range, one more than the maximum reaches.
    EXPECT_EQ(start(State(kIntMin, kIntMax, 0, kIntMax)), 74);
}

TEST(ScrollBarGeometry, TrackShorterThanAThumbStillSplitsAtThePosition) {
    // Track of 11: no thumb, but clicks before and after the position still page.
    const ScrollBarGeometry g = Vertical(37, State(0, 99, 10, 45));
    EXPECT_EQ(g.ThumbStart(), 13 + 5);  // 45 x 11 / 90
    EXPECT_EQ(g.PartAt(17), ScrollPart::kTrackBefore);
    EXPECT_EQ(g.PartAt(18), ScrollPart::kTrackAfter);
    EXPECT_EQ(g.PartAt(23), ScrollPart::kTrackAfter);
    EXPECT_EQ(g.PartAt(24), ScrollPart::kSecondArrow);
}

TEST(ScrollBarGeometry, PartAtEveryBoundary) {
    const ScrollBarGeometry g = Vertical(100, State(0, 99, 10, 45));  // thumb [44, 56)
    EXPECT_EQ(g.PartAt(-1), ScrollPart::kNone);
    EXPECT_EQ(g.PartAt(0), ScrollPart::kFirstArrow);
    EXPECT_EQ(g.PartAt(12), ScrollPart::kFirstArrow);
    EXPECT_EQ(g.PartAt(13), ScrollPart::kTrackBefore);
    EXPECT_EQ(g.PartAt(43), ScrollPart::kTrackBefore);
    EXPECT_EQ(g.PartAt(44), ScrollPart::kThumb);
    EXPECT_EQ(g.PartAt(55), ScrollPart::kThumb);
    EXPECT_EQ(g.PartAt(56), ScrollPart::kTrackAfter);
    EXPECT_EQ(g.PartAt(86), ScrollPart::kTrackAfter);
    EXPECT_EQ(g.PartAt(87), ScrollPart::kSecondArrow);
    EXPECT_EQ(g.PartAt(100), ScrollPart::kSecondArrow);
    EXPECT_EQ(g.PartAt(101), ScrollPart::kNone);
    EXPECT_EQ(g.PartAt(kIntMax), ScrollPart::kNone);

    // At the ends one track part vanishes.
    const ScrollBarGeometry top = Vertical(100, State(0, 99, 10, 0));
    EXPECT_EQ(top.PartAt(13), ScrollPart::kThumb);
    EXPECT_EQ(top.PartSpan(ScrollPart::kTrackBefore).Length(), 0);
    const ScrollBarGeometry bottom = Vertical(100, State(0, 99, 10, 90));
    EXPECT_EQ(bottom.PartAt(86), ScrollPart::kThumb);
    EXPECT_EQ(bottom.PartAt(87), ScrollPart::kSecondArrow);
    EXPECT_EQ(bottom.PartSpan(ScrollPart::kTrackAfter).Length(), 0);
}

TEST(ScrollBarGeometry, PointsAndRectanglesFollowTheOrientation) {
    const ScrollState s = State(0, 99, 10, 45);
    const ScrollBarGeometry v(ScrollBarKind::kVertical, kC, 100, s);
    EXPECT_EQ(v.PartRect(ScrollPart::kThumb), (SkinRect{0, 44, 13, 56}));
    EXPECT_EQ(v.PartAt(SkinPoint{0, 50}), ScrollPart::kThumb);
    EXPECT_EQ(v.PartAt(SkinPoint{12, 50}), ScrollPart::kThumb);
    EXPECT_EQ(v.PartAt(SkinPoint{13, 50}), ScrollPart::kNone);  // slid off sideways
    EXPECT_EQ(v.PartAt(SkinPoint{-1, 5}), ScrollPart::kNone);

    const ScrollBarGeometry h(ScrollBarKind::kHorizontal, kC, 100, s);
    EXPECT_EQ(h.PartRect(ScrollPart::kThumb), (SkinRect{44, 0, 56, 13}));
    EXPECT_EQ(h.PartAt(SkinPoint{50, 0}), ScrollPart::kThumb);
    EXPECT_EQ(h.PartAt(SkinPoint{5, 12}), ScrollPart::kFirstArrow);
    EXPECT_EQ(h.PartAt(SkinPoint{5, 13}), ScrollPart::kNone);
    EXPECT_TRUE(h.PartRect(ScrollPart::kNone).IsEmpty());
}

// Whatever the state, the five parts tile the bar in order without gaps,
// overlaps or negative lengths, and hit testing agrees with the spans.
TEST(ScrollBarGeometry, PartsTileTheBarForAnyState) {
    const std::vector<ScrollState> states = {
        State(0, 99, 10, 0),         State(0, 99, 10, 45),       State(0, 99, 10, 90),
        State(0, 99, 10, 500),       State(0, 99, 10, -500),     State(0, 99, 100, 0),
        State(0, 99, 1000, 7),       State(0, -1, 0, 0),         State(10, 0, 3, 5),
        State(0, 0, 0, 0),           State(0, 1, 1, 1),          State(0, 99, 0, 99),
        State(0, 99, 10, 0, 90),     State(0, 99, 10, 0, 1000),  State(kIntMin, kIntMax, 0, 0),
        State(kIntMin, kIntMax, 1, kIntMax), State(kIntMin, kIntMax, std::numeric_limits<uint32_t>::max(), 0),
        State(kIntMax, kIntMin, 0, 0),
    };
    const ScrollPart order[] = {ScrollPart::kFirstArrow, ScrollPart::kTrackBefore, ScrollPart::kThumb,
                                ScrollPart::kTrackAfter, ScrollPart::kSecondArrow};
    for (int32_t thickness : {0, 1, 13}) {
        for (int32_t length = 0; length <= 80; ++length) {
            for (const ScrollState& s : states) {
                const ScrollBarGeometry g = Vertical(length, s, thickness);
                SCOPED_TRACE(testing::Message() << "thickness " << thickness << " length " << length << " state "
                                                << s.min << ".." << s.max << " page " << s.page << " pos " << s.pos);
                int32_t at = 0;
                for (ScrollPart part : order) {
                    const ScrollSpan span = g.PartSpan(part);
                    ASSERT_EQ(span.begin, at);
                    ASSERT_GE(span.Length(), 0);
                    at = span.end;
                    for (int32_t p = span.begin; p < span.end; ++p) ASSERT_EQ(g.PartAt(p), part) << p;
                }
                ASSERT_EQ(at, length);
                ASSERT_GE(g.ThumbLength(), 0);
                ASSERT_LE(g.ThumbLength(), g.Track());
                if (g.HasThumb()) {
                    ASSERT_GE(g.ThumbLength(), ScrollBarGeometry::kMinThumb);
                }
            }
        }
    }
}

TEST(ScrollBarDrag, MovesInProportionAndStopsAtBothEnds) {
    const ScrollBarGeometry g = Vertical(100, kHundredRows);  // 90 positions over 62 pixels
    EXPECT_EQ(g.DragPosition(45, 50, 50), 45);
    EXPECT_EQ(g.DragPosition(45, 50, 51), 46);  // 90 / 62 truncates to 1
    EXPECT_EQ(g.DragPosition(45, 50, 49), 44);  // truncates toward zero going back too
    EXPECT_EQ(g.DragPosition(45, 50, 81), 90);  // 45 + 90 x 31 / 62
    EXPECT_EQ(g.DragPosition(45, 50, 200), 90);
    EXPECT_EQ(g.DragPosition(45, 50, 19), 0);
    EXPECT_EQ(g.DragPosition(45, 50, -500), 0);
    EXPECT_EQ(g.DragPosition(45, kIntMin, kIntMax), 90);
    EXPECT_EQ(g.DragPosition(45, kIntMax, kIntMin), 0);
    // A drag that starts from a position out of range still lands in range.
    EXPECT_EQ(g.DragPosition(5000, 50, 50), 90);
    EXPECT_EQ(g.DragPosition(-5000, 50, 51), 1);

    // A range with a non-zero minimum stops at its own ends.
    const ScrollBarGeometry shifted = Vertical(100, State(100, 199, 10, 100));
    EXPECT_EQ(shifted.DragPosition(100, 20, 1000), 190);
    EXPECT_EQ(shifted.DragPosition(150, 20, -1000), 100);
    EXPECT_EQ(shifted.DragPosition(100, 20, 51), 145);
    // A page of 0 stops at the maximum, the last position there is.
    EXPECT_EQ(Vertical(100, State(0, 99, 0, 0)).DragPosition(0, 0, 1000), 99);
}

TEST(ScrollBarDrag, NoRoomToMoveKeepsThePosition) {
    // A thumb filling its track (track 12, thumb 12).
    const ScrollBarGeometry full = Vertical(38, kHundredRows);
    EXPECT_EQ(full.DragPosition(30, 20, 25), 30);
    EXPECT_EQ(full.DragPosition(30, 20, -1000), 30);
    // Nothing to scroll.
    EXPECT_EQ(Vertical(100, State(0, 99, 100, 0)).DragPosition(0, 10, 90), 0);
    EXPECT_EQ(Vertical(100, State(0, 99, 500, 0)).DragPosition(0, 10, 90), 0);
    EXPECT_EQ(Vertical(100, State(0, -1, 0, 0)).DragPosition(0, 10, 90), 0);
    // The whole 32-bit range: no overflow on the way to the ends.
    const ScrollBarGeometry wide = Vertical(100, State(kIntMin, kIntMax, 1, 0));
    EXPECT_EQ(wide.DragPosition(0, 0, 62), kIntMax);
    EXPECT_EQ(wide.DragPosition(0, 0, -62), kIntMin);
    EXPECT_EQ(wide.DragPosition(kIntMin, kIntMin, kIntMax), kIntMax);
}

TEST(ScrollState, LastPositionAndChangeDetection) {
    EXPECT_EQ(LastScrollPosition(State(0, 99, 10, 0)), 90);
    EXPECT_EQ(LastScrollPosition(State(0, 99, 1, 0)), 99);
    EXPECT_EQ(LastScrollPosition(State(0, 99, 0, 0)), 99);
    EXPECT_EQ(LastScrollPosition(State(0, 99, 200, 0)), 0);
    EXPECT_EQ(LastScrollPosition(State(100, 199, 10, 0)), 190);
    EXPECT_EQ(LastScrollPosition(State(0, kIntMax, 0, 0)), kIntMax);
    EXPECT_EQ(LastScrollPosition(State(kIntMin, kIntMin, std::numeric_limits<uint32_t>::max(), 0)), kIntMin);

    // The bar's own track position is not the list's business.
    EXPECT_FALSE(RangePagePosDiffer(State(0, 99, 10, 5, -1), State(0, 99, 10, 5, 40)));
    EXPECT_TRUE(RangePagePosDiffer(State(0, 99, 10, 5), State(0, 99, 11, 5)));
}

TEST(ScrollBarRepeat, ArrowsStopAtTheirEndAndPauseOffThePart) {
    using A = RepeatAction;
    using P = ScrollPart;
    EXPECT_EQ(NextRepeat(P::kFirstArrow, State(0, 99, 10, 5), P::kFirstArrow), (RepeatStep{A::kSend, 0}));
    EXPECT_EQ(NextRepeat(P::kFirstArrow, State(0, 99, 10, 0), P::kFirstArrow).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kFirstArrow, State(20, 99, 10, 20), P::kFirstArrow).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kFirstArrow, State(0, 99, 10, 5), P::kTrackBefore).action, A::kWait);
    EXPECT_EQ(NextRepeat(P::kFirstArrow, State(0, 99, 10, 5), P::kNone).action, A::kWait);
    EXPECT_EQ(NextRepeat(P::kSecondArrow, State(0, 99, 10, 89), P::kSecondArrow), (RepeatStep{A::kSend, 1}));
    // A list showing ten rows never reaches its maximum: the last position ends the repeat.
    EXPECT_EQ(NextRepeat(P::kSecondArrow, State(0, 99, 10, 90), P::kSecondArrow).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kSecondArrow, State(0, 99, 1, 98), P::kSecondArrow).action, A::kSend);
    EXPECT_EQ(NextRepeat(P::kSecondArrow, State(0, 99, 1, 99), P::kSecondArrow).action, A::kStop);
    // The thumb and no part do not repeat.
    EXPECT_EQ(NextRepeat(P::kThumb, State(0, 99, 10, 5), P::kThumb).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kNone, State(0, 99, 10, 5), P::kNone).action, A::kStop);
}

TEST(ScrollBarRepeat, TrackStopsWhenTheThumbReachesOrPassesThePointer) {
    using A = RepeatAction;
    using P = ScrollPart;
    const ScrollState s = State(0, 99, 10, 45);
    EXPECT_EQ(NextRepeat(P::kTrackAfter, s, P::kTrackAfter), (RepeatStep{A::kSend, 3}));
    EXPECT_EQ(NextRepeat(P::kTrackAfter, s, P::kThumb).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kTrackAfter, s, P::kTrackBefore).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kTrackAfter, s, P::kNone).action, A::kWait);
    EXPECT_EQ(NextRepeat(P::kTrackAfter, s, P::kSecondArrow).action, A::kWait);
    EXPECT_EQ(NextRepeat(P::kTrackBefore, s, P::kTrackBefore), (RepeatStep{A::kSend, 2}));
    EXPECT_EQ(NextRepeat(P::kTrackBefore, s, P::kThumb).action, A::kStop);
    EXPECT_EQ(NextRepeat(P::kTrackBefore, s, P::kTrackAfter).action, A::kStop);
}

// Holding the track below the thumb of a 100-row list: one page at the press,
// then one per tick, until the thumb lies under the pointer.
TEST(ScrollBarRepeat, HoldingTheTrackPagesUpToThePointer) {
    const int32_t pointer = 60;
    ScrollState s = kHundredRows;
    auto scrollPage = [&s] { s.pos = std::min(s.pos + static_cast<int32_t>(s.page), LastScrollPosition(s)); };
    ASSERT_EQ(Vertical(100, s).PartAt(pointer), ScrollPart::kTrackAfter);
    scrollPage();  // the press itself
    int sends = 1;
    for (int tick = 0; tick < 50; ++tick) {
        const RepeatStep step = NextRepeat(ScrollPart::kTrackAfter, s, Vertical(100, s).PartAt(pointer));
        if (step.action == RepeatAction::kStop) break;
        ASSERT_EQ(step.action, RepeatAction::kSend);
        scrollPage();
        ++sends;
    }
    EXPECT_EQ(s.pos, 60);  // thumb [54, 66)
    EXPECT_EQ(sends, 6);
    EXPECT_EQ(Vertical(100, s).PartAt(pointer), ScrollPart::kThumb);
}

TEST(ScrollBarRepeat, HoldingAnArrowEndsAtEachEnd) {
    ScrollState s = State(0, 99, 10, 3);
    int sends = 0;
    while (NextRepeat(ScrollPart::kFirstArrow, s, ScrollPart::kFirstArrow).action == RepeatAction::kSend) {
        --s.pos;
        ASSERT_LT(++sends, 100);
    }
    EXPECT_EQ(s.pos, 0);
    EXPECT_EQ(sends, 3);

    s.pos = 85;
    sends = 0;
    while (NextRepeat(ScrollPart::kSecondArrow, s, ScrollPart::kSecondArrow).action == RepeatAction::kSend) {
        ++s.pos;
        ASSERT_LT(++sends, 100);
    }
    EXPECT_EQ(s.pos, 90);
    EXPECT_EQ(sends, 5);
}

TEST(ScrollBarLooks, HotAndPressedRows) {
    using P = ScrollPart;
    using L = PartLook;
    // The track never lights up.
    EXPECT_FALSE(ShowsHot(P::kTrackBefore));
    EXPECT_EQ(LookOf(P::kFirstArrow, ScrollBarPointer{P::kFirstArrow}), L::kHot);
    EXPECT_EQ(LookOf(P::kSecondArrow, ScrollBarPointer{P::kFirstArrow}), L::kNormal);
    EXPECT_EQ(LookOf(P::kTrackAfter, ScrollBarPointer{P::kTrackAfter, P::kTrackAfter}), L::kNormal);
    // A held arrow is pressed while the pointer is on it, normal off it.
    EXPECT_EQ(LookOf(P::kSecondArrow, ScrollBarPointer{P::kNone, P::kSecondArrow, false, false}), L::kPressed);
    EXPECT_EQ(LookOf(P::kSecondArrow, ScrollBarPointer{P::kSecondArrow, P::kSecondArrow, false, true}), L::kNormal);
    // While something is held, the other arrow does not light up.
    EXPECT_EQ(LookOf(P::kFirstArrow, ScrollBarPointer{P::kFirstArrow, P::kTrackAfter, false, false}), L::kNormal);
    // The dragged thumb is pressed; a thumb under the pointer is hot.
    EXPECT_EQ(LookOf(P::kThumb, ScrollBarPointer{P::kThumb}), L::kHot);
    EXPECT_EQ(LookOf(P::kThumb, ScrollBarPointer{P::kNone, P::kNone, true, false}), L::kPressed);
    EXPECT_EQ(LookOf(P::kFirstArrow, ScrollBarPointer{P::kFirstArrow, P::kNone, true, false}), L::kNormal);
}

TEST(ScrollBarLooks, ThumbSlices) {
    const ThumbSlices s = SliceThumb(20, 40, 13);
    EXPECT_EQ(s.headDest, (ScrollSpan{20, 26}));
    EXPECT_EQ(s.headSource, (ScrollSpan{0, 6}));
    EXPECT_EQ(s.middleDest, (ScrollSpan{26, 54}));
    EXPECT_EQ(s.middleSource, (ScrollSpan{6, 7}));
    EXPECT_EQ(s.tailDest, (ScrollSpan{54, 60}));
    EXPECT_EQ(s.tailSource, (ScrollSpan{7, 13}));

    // The shortest thumb is just its two ends.
    const ThumbSlices minimum = SliceThumb(13, 12, 13);
    EXPECT_EQ(minimum.headDest, (ScrollSpan{13, 19}));
    EXPECT_EQ(minimum.tailDest, (ScrollSpan{19, 25}));
    EXPECT_EQ(minimum.middleDest.Length(), 0);

    // A small square: the ends shrink and never overlap.
    const ThumbSlices small = SliceThumb(0, 30, 4);
    EXPECT_EQ(small.headSource, (ScrollSpan{0, 2}));
    EXPECT_EQ(small.tailSource, (ScrollSpan{2, 4}));
    EXPECT_EQ(small.middleSource, (ScrollSpan{0, 4}));
    EXPECT_EQ(small.middleDest, (ScrollSpan{2, 28}));

    EXPECT_EQ(SliceThumb(13, 0, 13).headDest.Length(), 0);
    EXPECT_EQ(SliceThumb(13, 20, 0).middleDest.Length(), 0);
}

namespace {

int64_t Area(const SkinRect& r) { return r.IsEmpty() ? 0 : int64_t{r.Width()} * r.Height(); }

bool Overlap(const SkinRect& a, const SkinRect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

}  // namespace

TEST(ScrollFrame, LayoutForEveryBarArrangement) {
    using B = ListScrollBars;
    ScrollFrameLayout right = LayoutScrollFrame(200, 100, kC, B{true, false, false});
    EXPECT_EQ(right.limit, (SkinRect{0, 0, 187, 100}));
    EXPECT_EQ(right.listOrigin, (SkinPoint{0, 0}));
    EXPECT_EQ(right.verticalBar, (SkinRect{187, 0, 200, 100}));
    EXPECT_TRUE(right.horizontalBar.IsEmpty());
    EXPECT_EQ(right.cornerMode, 0);

    ScrollFrameLayout left = LayoutScrollFrame(200, 100, kC, B{true, true, false});
    EXPECT_EQ(left.limit, (SkinRect{13, 0, 200, 100}));
    EXPECT_EQ(left.listOrigin, (SkinPoint{-13, 0}));
    EXPECT_EQ(left.verticalBar, (SkinRect{0, 0, 13, 100}));

    ScrollFrameLayout both = LayoutScrollFrame(200, 100, kC, B{true, false, true});
    EXPECT_EQ(both.limit, (SkinRect{0, 0, 187, 87}));
    EXPECT_EQ(both.verticalBar, (SkinRect{187, 0, 200, 87}));
    EXPECT_EQ(both.horizontalBar, (SkinRect{0, 87, 187, 100}));
    EXPECT_EQ(both.cornerMode, 2);
    EXPECT_EQ(both.corner, (SkinRect{187, 87, 200, 100}));

    ScrollFrameLayout bothLeft = LayoutScrollFrame(200, 100, kC, B{true, true, true});
    EXPECT_EQ(bothLeft.limit, (SkinRect{13, 0, 200, 87}));
    EXPECT_EQ(bothLeft.listOrigin, (SkinPoint{-13, 0}));
    EXPECT_EQ(bothLeft.verticalBar, (SkinRect{0, 0, 13, 87}));
    EXPECT_EQ(bothLeft.horizontalBar, (SkinRect{13, 87, 200, 100}));
    EXPECT_EQ(bothLeft.cornerMode, 1);
    EXPECT_EQ(bothLeft.corner, (SkinRect{0, 87, 13, 100}));

    EXPECT_EQ(LayoutScrollFrame(200, 100, kC, B{false, false, true}).horizontalBar, (SkinRect{0, 87, 200, 100}));

    // "Left" means nothing without a vertical bar.
    ScrollFrameLayout plain = LayoutScrollFrame(200, 100, kC, B{false, true, false});
    EXPECT_EQ(plain.limit, (SkinRect{0, 0, 200, 100}));
    EXPECT_EQ(plain.listOrigin, (SkinPoint{0, 0}));
    EXPECT_TRUE(plain.verticalBar.IsEmpty());
    EXPECT_EQ(CornerMode(B{false, true, true}), 0);
}

// The clipping window, the bars and the corner share the frame without gaps
// or overlaps, and never get a negative size, however small the frame.
TEST(ScrollFrame, PiecesCoverTheFrameExactly) {
    using B = ListScrollBars;
    for (B bars : {B{false, false, false}, B{true, false, false}, B{true, true, false}, B{false, false, true},
                   B{true, false, true}, B{true, true, true}}) {
        for (auto [w, h] : {std::pair{200, 100}, std::pair{26, 26}, std::pair{13, 13}}) {
            const ScrollFrameLayout l = LayoutScrollFrame(w, h, kC, bars);
            const SkinRect pieces[] = {l.limit, l.verticalBar, l.horizontalBar, l.corner};
            int64_t area = 0;
            for (size_t i = 0; i < 4; ++i) {
                area += Area(pieces[i]);
                EXPECT_GE(pieces[i].left, 0);
                EXPECT_GE(pieces[i].top, 0);
                EXPECT_LE(pieces[i].right, w);
                EXPECT_LE(pieces[i].bottom, h);
                for (size_t j = i + 1; j < 4; ++j) EXPECT_FALSE(Overlap(pieces[i], pieces[j])) << i << " " << j;
            }
            EXPECT_EQ(area, int64_t{w} * h) << w << "x" << h;
        }
        for (auto [w, h] : {std::pair{5, 7}, std::pair{0, 0}, std::pair{-10, -10}}) {
            const ScrollFrameLayout l = LayoutScrollFrame(w, h, kC, bars);
            for (const SkinRect& r : {l.limit, l.verticalBar, l.horizontalBar, l.corner}) {
                EXPECT_GE(r.Width(), 0);
                EXPECT_GE(r.Height(), 0);
            }
        }
    }
}

TEST(ScrollFrame, ListClientMakesRoomForSkinnedBarsOnly) {
    using B = ListScrollBars;
    // The platform's bar is 20 wide; ours 13: 7 of the platform's room goes back to the list.
    EXPECT_EQ(WidenListClient(SkinRect{0, 0, 180, 100}, 20, kC, B{true, false, false}), (SkinRect{0, 0, 187, 100}));
    EXPECT_EQ(WidenListClient(SkinRect{20, 0, 200, 100}, 20, kC, B{true, true, false}), (SkinRect{13, 0, 200, 100}));
    EXPECT_EQ(WidenListClient(SkinRect{0, 0, 180, 80}, 20, kC, B{true, false, true}), (SkinRect{0, 0, 187, 87}));
    EXPECT_EQ(WidenListClient(SkinRect{0, 0, 200, 100}, 20, kC, B{}), (SkinRect{0, 0, 200, 100}));
}

TEST(ScrollFrame, SkinningMovesTheBorderToTheFrame) {
    using namespace frame_style;
    // The profile list: child, visible, border, vertical bar, owner-drawn.
    const SkinnedListStyles s = SkinListStyles(0x50A00061, kExClientEdge | kExToolWindow, 200, 100, 1, 2);
    EXPECT_EQ(s.frameStyle, 0x50800100u);
    EXPECT_EQ(s.listStyle, 0x50200061u);
    EXPECT_EQ(s.frameExStyle, kExClientEdge | kExToolWindow | kExControlParent) << "Tab goes into the frame";
    EXPECT_EQ(s.listExStyle, kExToolWindow);
    EXPECT_EQ(s.listWidth, 194);
    EXPECT_EQ(s.listHeight, 94);

    // A hidden list without border: a hidden frame, the list keeps its size.
    const SkinnedListStyles hidden = SkinListStyles(0x40200061, 0, 200, 100, 1, 2);
    EXPECT_EQ(hidden.frameStyle, 0x40000100u);
    EXPECT_EQ(hidden.frameExStyle, kExControlParent);
    EXPECT_EQ(hidden.listWidth, 200);

    const SkinnedListStyles tiny = SkinListStyles(kBorder, kExClientEdge, 3, 3, 1, 2);
    EXPECT_EQ(tiny.listWidth, 0);
    EXPECT_EQ(tiny.listHeight, 0);
}
