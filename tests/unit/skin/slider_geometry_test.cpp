#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "slider_geometry.h"

namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// A track 100 pixels wide with a thumb 14 wide: 86 pixels of travel.
constexpr SliderTravel kTrack{0, 100, 14};

}  // namespace

TEST(SliderRange, EqualInvertedAndNegativeRangesAreRefused) {
    EXPECT_TRUE(SliderRangeAllowed(0, 10));
    EXPECT_TRUE(SliderRangeAllowed(2, 100));
    EXPECT_TRUE(SliderRangeAllowed(0, 1));
    EXPECT_TRUE(SliderRangeAllowed(0, kIntMax));
    EXPECT_FALSE(SliderRangeAllowed(5, 5)) << "equal ends divide by zero";
    EXPECT_FALSE(SliderRangeAllowed(0, 0));
    EXPECT_FALSE(SliderRangeAllowed(10, 2));
    EXPECT_FALSE(SliderRangeAllowed(-1, 5)) << "the thumb holds its range as unsigned numbers";
    EXPECT_FALSE(SliderRangeAllowed(kIntMin, kIntMax));
}

TEST(SliderRange, ATrackMustBeWiderThanItsThumb) {
    EXPECT_TRUE(SliderTrackFits(100, 14));
    EXPECT_TRUE(SliderTrackFits(15, 14));
    EXPECT_FALSE(SliderTrackFits(14, 14));
    EXPECT_FALSE(SliderTrackFits(10, 14));
    EXPECT_FALSE(SliderTrackFits(0, 0));
    EXPECT_FALSE(SliderTrackFits(100, -1));
}

TEST(SliderTravel, RoomAndEnds) {
    EXPECT_EQ(kTrack.Room(), 86);
    EXPECT_EQ(kTrack.FirstLeft(), 0);
    EXPECT_EQ(kTrack.LastLeft(), 86);
    const SliderTravel shifted{10, 110, 14};
    EXPECT_EQ(shifted.Room(), 86);
    EXPECT_EQ(shifted.LastLeft(), 96);
    const SliderTravel none{0, 10, 14};
    EXPECT_EQ(none.Room(), 0);
    EXPECT_EQ(none.LastLeft(), 0);
    const SliderTravel huge{kIntMin, kIntMax, 0};
    EXPECT_EQ(huge.Room(), kIntMax);
}

TEST(ThumbClamp, ComparesAsUnsignedSoANegativeValueEndsAtTheMaximum) {
    EXPECT_EQ(ThumbClamp(5, 0, 10), 5);
    EXPECT_EQ(ThumbClamp(0, 0, 10), 0);
    EXPECT_EQ(ThumbClamp(10, 0, 10), 10);
    EXPECT_EQ(ThumbClamp(11, 0, 10), 10);
    EXPECT_EQ(ThumbClamp(1, 2, 100), 2);
    EXPECT_EQ(ThumbClamp(kIntMax, 2, 100), 100);
    EXPECT_EQ(ThumbClamp(-1, 0, 10), 10);
    EXPECT_EQ(ThumbClamp(-1, 2, 100), 100);
    EXPECT_EQ(ThumbClamp(kIntMin, 2, 100), 100);
}

TEST(ThumbLeftOf, PositionOfAValueMultipliesFirst) {
    EXPECT_EQ(ThumbLeftOf(0, kTrack, 0, 10), 0);
    EXPECT_EQ(ThumbLeftOf(10, kTrack, 0, 10), 86);
    EXPECT_EQ(ThumbLeftOf(5, kTrack, 0, 10), 43);
    EXPECT_EQ(ThumbLeftOf(3, kTrack, 0, 10), 25);  // 258 / 10, not 86 / 10 x 3 = 24
    EXPECT_EQ(ThumbLeftOf(7, kTrack, 0, 10), 60);
    // x0 shifts everything.
    EXPECT_EQ(ThumbLeftOf(5, SliderTravel{10, 110, 14}, 0, 10), 53);
    // The pages' ranges.
    EXPECT_EQ(ThumbLeftOf(2, SliderTravel{0, 332, 14}, 2, 100), 0);
    EXPECT_EQ(ThumbLeftOf(100, SliderTravel{0, 332, 14}, 2, 100), 318);
    EXPECT_EQ(ThumbLeftOf(51, SliderTravel{0, 332, 14}, 2, 100), 159);
}

TEST(ThumbLeftOf, AValueOutsideTheRangeGoesToTheNearestEndAndANegativeOneToTheMaximum) {
    EXPECT_EQ(ThumbLeftOf(20, kTrack, 0, 10), 86);
    EXPECT_EQ(ThumbLeftOf(1, kTrack, 2, 100), 0);
    EXPECT_EQ(ThumbLeftOf(-1, kTrack, 0, 10), 86);
    EXPECT_EQ(ThumbLeftOf(kIntMin, kTrack, 0, 10), 86);
}

TEST(ThumbLeftOf, LargeRangesDoNotOverflowAndEmptyOnesStayAtTheStart) {
    EXPECT_EQ(ThumbLeftOf(kIntMax, kTrack, 0, kIntMax), 86);
    EXPECT_EQ(ThumbLeftOf(kIntMax / 2, kTrack, 0, kIntMax), 42);
    const SliderTravel wide{0, kIntMax, 0};
    EXPECT_EQ(ThumbLeftOf(kIntMax, wide, 0, kIntMax), kIntMax);
    EXPECT_EQ(ThumbLeftOf(5, kTrack, 5, 5), 0);
    EXPECT_EQ(ThumbLeftOf(5, SliderTravel{0, 10, 14}, 0, 10), 0);
}

TEST(SliderRound, SnapRoundsHalfUpAndOtherwiseTruncatesTowardZero) {
    EXPECT_EQ(SliderRound(9.9f, 0, 10, false), 9);
    EXPECT_EQ(SliderRound(9.9f, 0, 10, true), 10);
    EXPECT_EQ(SliderRound(4.5f, 0, 10, true), 5);
    EXPECT_EQ(SliderRound(4.49f, 0, 10, true), 4);
    EXPECT_EQ(SliderRound(4.99f, 0, 10, false), 4);
    // Signed clamps.
    EXPECT_EQ(SliderRound(10.4f, 0, 10, true), 10);
    EXPECT_EQ(SliderRound(11.0f, 0, 10, false), 10);
    EXPECT_EQ(SliderRound(-0.1f, 0, 10, false), 0);
    EXPECT_EQ(SliderRound(-0.7f, 0, 10, true), 0);
    EXPECT_EQ(SliderRound(-5.0f, 2, 100, true), 2);
    EXPECT_EQ(SliderRound(1e20f, 0, 10, true), 10);
    EXPECT_EQ(SliderRound(-1e20f, 0, 10, false), 0);
    EXPECT_EQ(SliderRound(std::nanf(""), 3, 10, false), 3);
    // Below zero: truncation goes toward zero, snapping rounds half up.
    EXPECT_EQ(SliderRound(-2.7f, -10, 10, false), -2);
    EXPECT_EQ(SliderRound(-2.7f, -10, 10, true), -3);
    EXPECT_EQ(SliderRound(-2.5f, -10, 10, true), -2);
}

TEST(TrackClickValue, NinetyNinePercentGivesNineWithoutSnapAndTenWithIt) {
    const SliderReading plain = TrackClickValue(99, 0, 100, 0, 10, false);
    EXPECT_FLOAT_EQ(plain.exact, 9.9f);
    EXPECT_EQ(plain.value, 9);
    EXPECT_EQ(TrackClickValue(99, 0, 100, 0, 10, true).value, 10);
    // The same on a track placed in its parent.
    EXPECT_EQ(TrackClickValue(219, 120, 220, 0, 10, false).value, 9);
    EXPECT_EQ(TrackClickValue(219, 120, 220, 0, 10, true).value, 10);
}

TEST(TrackClickValue, ScaleRunsFromTheLeftEdgeToTheRightEdge) {
    EXPECT_EQ(TrackClickValue(0, 0, 100, 0, 10, false).value, 0);
    EXPECT_EQ(TrackClickValue(100, 0, 100, 0, 10, false).value, 10);
    EXPECT_EQ(TrackClickValue(50, 0, 100, 0, 10, false).value, 5);
    EXPECT_EQ(TrackClickValue(45, 0, 100, 0, 10, true).value, 5);
    EXPECT_EQ(TrackClickValue(45, 0, 100, 0, 10, false).value, 4);
    // The DPI slider of the performance page: 332 pixels for 2-100.
    EXPECT_EQ(TrackClickValue(132, 132, 464, 2, 100, false).value, 2);
    EXPECT_EQ(TrackClickValue(463, 132, 464, 2, 100, false).value, 99);
    EXPECT_EQ(TrackClickValue(463, 132, 464, 2, 100, true).value, 100);
    const SliderReading middle = TrackClickValue(298, 132, 464, 2, 100, false);
    EXPECT_FLOAT_EQ(middle.exact, 98.0f * 166 / 332 + 2);
    EXPECT_EQ(middle.value, 51);
}

TEST(TrackClickValue, ClicksLeftOfTheTrackGiveTheMinimumAndRightOfItTheMaximum) {
    EXPECT_EQ(TrackClickValue(-1, 0, 100, 0, 10, false).value, 0);
    EXPECT_EQ(TrackClickValue(-1, 0, 100, 0, 10, true).value, 0);
    EXPECT_EQ(TrackClickValue(-30000, 0, 100, 0, 10, true).value, 0);
    EXPECT_EQ(TrackClickValue(119, 120, 220, 2, 100, false).value, 2);
    EXPECT_EQ(TrackClickValue(101, 0, 100, 0, 10, false).value, 10);
    EXPECT_EQ(TrackClickValue(30000, 0, 100, 0, 10, false).value, 10);
    // Signed comparisons: a value below a negative minimum is not a large unsigned one.
    EXPECT_EQ(TrackClickValue(-50, 0, 100, -10, 10, false).value, -10);
    EXPECT_EQ(TrackClickValue(35, 0, 100, -10, 10, false).value, -3);
}

TEST(TrackClickValue, NoOverflowAndNoDivisionByZero) {
    EXPECT_EQ(TrackClickValue(30000, 0, 10, 0, kIntMax, false).value, kIntMax);
    EXPECT_EQ(TrackClickValue(-30000, 0, 10, 0, kIntMax, false).value, 0);
    EXPECT_EQ(TrackClickValue(5, 0, 10, kIntMin, kIntMax, true).value, 0);
    // Pixel distances and a span of the whole int32 range each near 2^32.
    EXPECT_EQ(TrackClickValue(kIntMax, kIntMin, kIntMax, kIntMin, kIntMax, false).value, kIntMax);
    EXPECT_EQ(TrackClickValue(kIntMin, kIntMax, kIntMin, kIntMin, kIntMax, true).value, kIntMin);
    EXPECT_EQ(TrackClickValue(50, 0, 0, 3, 10, false).value, 3);
    EXPECT_EQ(TrackClickValue(50, 100, 0, 3, 10, true).value, 3);
    EXPECT_EQ(TrackClickValue(50, 0, 100, 4, 4, true).value, 4);
}

TEST(DragLeft, TheThumbStopsAtBothEndsOfItsTravel) {
    EXPECT_EQ(DragLeft(40, 10, kTrack), 50);
    EXPECT_EQ(DragLeft(40, -10, kTrack), 30);
    EXPECT_EQ(DragLeft(40, -100, kTrack), 0);
    EXPECT_EQ(DragLeft(40, 100, kTrack), 86) << "right edge at x1";
    EXPECT_EQ(DragLeft(86, 1, kTrack), 86);
    EXPECT_EQ(DragLeft(0, -1, kTrack), 0);
    EXPECT_EQ(DragLeft(40, kIntMax, kTrack), 86);
    EXPECT_EQ(DragLeft(40, kIntMin, kTrack), 0);
    const SliderTravel shifted{10, 110, 14};
    EXPECT_EQ(DragLeft(50, -100, shifted), 10);
    EXPECT_EQ(DragLeft(50, 100, shifted), 96);
}

TEST(DragValue, ReadsThePositionBeforeTheMoveSoItTrailsByOneMove) {
    // Grabbed at left 0, moved right by 43 and then not at all.
    int32_t left = 0;
    int32_t next = DragLeft(left, 43, kTrack);
    EXPECT_EQ(DragValue(left, kTrack, 0, 10), 0) << "the first move still reports where the thumb was";
    left = next;
    EXPECT_EQ(left, 43);
    next = DragLeft(left, 0, kTrack);
    EXPECT_EQ(DragValue(left, kTrack, 0, 10), 5) << "the next move catches up";
    // The button-up settles on the thumb's place.
    EXPECT_EQ(ReleaseValue(next, kTrack, 0, 10, false).value, 5);
}

TEST(DragValue, IntegerArithmeticClampedToTheRange) {
    EXPECT_EQ(DragValue(0, kTrack, 0, 10), 0);
    EXPECT_EQ(DragValue(86, kTrack, 0, 10), 10);
    EXPECT_EQ(DragValue(85, kTrack, 0, 10), 9);
    EXPECT_EQ(DragValue(47, kTrack, 0, 10), 5);
    EXPECT_EQ(DragValue(86, kTrack, 2, 100), 100);
    EXPECT_EQ(DragValue(43, kTrack, 2, 100), 51);
    EXPECT_EQ(DragValue(-5, kTrack, 2, 100), 2);
    EXPECT_EQ(DragValue(200, kTrack, 2, 100), 100);
    EXPECT_EQ(DragValue(50, SliderTravel{0, 10, 14}, 2, 100), 2) << "no travel: no division by zero";
    EXPECT_EQ(DragValue(86, kTrack, 0, kIntMax), kIntMax);
    const SliderTravel whole{kIntMin, kIntMax, 0};
    EXPECT_EQ(DragValue(kIntMax, whole, kIntMin, kIntMax), kIntMax);
    EXPECT_EQ(DragValue(kIntMin, whole, kIntMin, kIntMax), kIntMin);
}

TEST(ReleaseValue, SnapRoundsAndPlainTruncates) {
    EXPECT_EQ(ReleaseValue(86, kTrack, 0, 10, false).value, 10);
    EXPECT_EQ(ReleaseValue(0, kTrack, 0, 10, true).value, 0);
    const SliderReading at85 = ReleaseValue(85, kTrack, 0, 10, false);
    EXPECT_FLOAT_EQ(at85.exact, 850.0f / 86.0f);
    EXPECT_EQ(at85.value, 9);
    EXPECT_EQ(ReleaseValue(85, kTrack, 0, 10, true).value, 10);
    // 47 is 5.47, 48 is 5.58.
    EXPECT_EQ(ReleaseValue(47, kTrack, 0, 10, true).value, 5);
    EXPECT_EQ(ReleaseValue(48, kTrack, 0, 10, true).value, 6);
    EXPECT_EQ(ReleaseValue(48, kTrack, 0, 10, false).value, 5);
    // Snapped, the thumb then moves to the place of its value.
    EXPECT_EQ(ThumbLeftOf(ReleaseValue(48, kTrack, 0, 10, true).value, kTrack, 0, 10), 51);
    EXPECT_EQ(ReleaseValue(96, SliderTravel{10, 110, 14}, 2, 100, false).value, 100);
    EXPECT_EQ(ReleaseValue(50, SliderTravel{0, 10, 14}, 2, 100, true).value, 2);
    EXPECT_EQ(ReleaseValue(kIntMax, SliderTravel{kIntMin, kIntMax, 0}, kIntMin, kIntMax, true).value, kIntMax);
}

TEST(ReleaseValue, EveryPositionGivesTheValueWhosePositionIsNearest) {
    // With snap, a button-up anywhere on the travel settles on a value whose own
    // position is within half a value's width of where the thumb was let go.
    for (int32_t left = kTrack.FirstLeft(); left <= kTrack.LastLeft(); ++left) {
        const int32_t v = ReleaseValue(left, kTrack, 2, 100, true).value;
        ASSERT_GE(v, 2);
        ASSERT_LE(v, 100);
        const double step = double(kTrack.Room()) / 98;
        EXPECT_LE(std::abs(ThumbLeftOf(v, kTrack, 2, 100) - left), step / 2 + 1) << left;
    }
}

TEST(KeyValue, StepsByOneAndJumpsToTheEnds) {
    EXPECT_EQ(KeyValue(SliderKey::kStepDown, 5, 0, 10), 4);
    EXPECT_EQ(KeyValue(SliderKey::kStepUp, 5, 0, 10), 6);
    EXPECT_EQ(KeyValue(SliderKey::kStepDown, 0, 0, 10), 0);
    EXPECT_EQ(KeyValue(SliderKey::kStepUp, 10, 0, 10), 10);
    EXPECT_EQ(KeyValue(SliderKey::kFirst, 5, 2, 100), 2);
    EXPECT_EQ(KeyValue(SliderKey::kLast, 5, 2, 100), 100);
    EXPECT_EQ(KeyValue(SliderKey::kNone, 5, 2, 100), 5);
    EXPECT_EQ(KeyValue(SliderKey::kStepUp, kIntMax, 0, kIntMax), kIntMax);
    EXPECT_EQ(KeyValue(SliderKey::kStepDown, kIntMin, kIntMin, 0), kIntMin);
    EXPECT_EQ(KeyValue(SliderKey::kStepUp, 500, 2, 100), 100);
}
