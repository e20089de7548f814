#include <gtest/gtest.h>

#include "button_look.h"

namespace {

ButtonState State(bool checkMode, bool disabled, bool checked, bool pressed, bool hover) {
    return ButtonState{checkMode, disabled, checked, pressed, hover};
}

}  // namespace

TEST(ButtonPictureChoice, PushMode) {
    using P = ButtonPicture;
    EXPECT_EQ(ChooseButtonPicture(State(false, false, false, false, false)), P::kNormal);
    EXPECT_EQ(ChooseButtonPicture(State(false, false, false, false, true)), P::kOver);
    EXPECT_EQ(ChooseButtonPicture(State(false, false, false, true, true)), P::kDown);
    EXPECT_EQ(ChooseButtonPicture(State(false, false, true, false, true)), P::kDown);
    // Disabled wins over every other state.
    EXPECT_EQ(ChooseButtonPicture(State(false, true, true, true, true)), P::kDisabled);
}

TEST(ButtonPictureChoice, CheckModeShowsItsStateNotThePress) {
    using P = ButtonPicture;
    EXPECT_EQ(ChooseButtonPicture(State(true, false, false, true, false)), P::kNormal);
    EXPECT_EQ(ChooseButtonPicture(State(true, false, false, true, true)), P::kOver);
    EXPECT_EQ(ChooseButtonPicture(State(true, false, true, false, true)), P::kDown);
    EXPECT_EQ(ChooseButtonPicture(State(true, true, true, false, true)), P::kDisabled);
}

TEST(ButtonPictureChoice, ColourButton) {
    using P = ButtonPicture;
    EXPECT_EQ(ChooseColorButtonPicture(State(true, true, true, false, true)), P::kDisabled);
    EXPECT_EQ(ChooseColorButtonPicture(State(true, false, false, false, true)), P::kOver);
    EXPECT_EQ(ChooseColorButtonPicture(State(true, false, true, false, true)), P::kDown);
    EXPECT_EQ(ChooseColorButtonPicture(State(true, false, false, true, false)), P::kNormal);
    EXPECT_EQ(ChooseColorButtonPicture(State(false, false, true, false, false)), P::kDown);
    EXPECT_EQ(ChooseColorButtonPicture(State(false, true, true, false, false)), P::kDisabled);
    EXPECT_EQ(ChooseColorButtonPicture(State(false, false, false, true, false)), P::kDown);
    EXPECT_EQ(ChooseColorButtonPicture(State(false, false, false, false, true)), P::kOver);
    EXPECT_EQ(ChooseColorButtonPicture(State(false, false, false, false, false)), P::kNormal);
}

TEST(ButtonCaptionColour, DownPictureThenHoverThenDisabled) {
    CaptionColors c;
    c.normal = 1;
    c.hover = 2;
    c.pressed = 3;
    c.disabled = 4;
    EXPECT_EQ(ChooseCaptionColor(State(false, false, false, false, false), c), 1u);
    EXPECT_EQ(ChooseCaptionColor(State(false, false, false, false, true), c), 2u);
    EXPECT_EQ(ChooseCaptionColor(State(true, false, false, true, true), c), 2u);  // a check button being pressed
    // On the "down" picture the caption stays readable under the pointer.
    EXPECT_EQ(ChooseCaptionColor(State(false, false, true, true, true), c), 3u);
    EXPECT_EQ(ChooseCaptionColor(State(true, false, true, false, true), c), 3u);
    EXPECT_EQ(ChooseCaptionColor(State(false, true, true, false, false), c), 4u);
    EXPECT_EQ(ChooseCaptionColor(State(true, false, true, false, false), c), 3u);
    EXPECT_EQ(ChooseCaptionColor(State(false, false, false, true, false), c), 3u);
    // The defaults.
    const CaptionColors d;
    EXPECT_EQ(d.normal, SkinRgb(245, 245, 245));
    EXPECT_EQ(d.hover, SkinRgb(255, 0, 0));
    EXPECT_EQ(d.disabled, SkinRgb(150, 150, 150));
}

TEST(ButtonCaptionLayout, EveryAlignmentMode) {
    using namespace text_format;
    const SkinRect r{0, 0, 150, 28};
    const CaptionLayout wrapped = LayoutCaption(CaptionAlign::kCentredWrapped, r);
    EXPECT_EQ(wrapped.kind, CaptionKind::kWrapped);
    EXPECT_EQ(wrapped.rect, (SkinRect{5, 0, 145, 28}));
    EXPECT_EQ(wrapped.format, kWordBreak | kCenter | kEditControl);

    for (CaptionAlign mode : {CaptionAlign::kLeft, CaptionAlign::kSameAsLeft}) {
        const CaptionLayout left = LayoutCaption(mode, r);
        EXPECT_EQ(left.kind, CaptionKind::kSingleLine);
        EXPECT_EQ(left.rect, (SkinRect{5, 0, 140, 28}));
        EXPECT_EQ(left.format, kLeft | kVCenter | kSingleLine | kNoPrefix | kEndEllipsis);
    }
    const CaptionLayout four = LayoutCaption(CaptionAlign::kAtPoint20x4, r);
    EXPECT_EQ(four.kind, CaptionKind::kTextOut);
    EXPECT_EQ(four.x, 20);
    EXPECT_EQ(four.y, 4);
    const CaptionLayout five = LayoutCaption(CaptionAlign::kAtPoint25x7, r);
    EXPECT_EQ(five.x, 25);
    EXPECT_EQ(five.y, 7);
    EXPECT_EQ(LayoutCaption(CaptionAlign::kLeftFrom45, r).rect, (SkinRect{45, 0, 143, 28}));
    EXPECT_EQ(LayoutCaption(CaptionAlign::kLeftFrom15, r).rect, (SkinRect{15, 0, 140, 28}));
    for (int mode : {2, 8, -3}) {
        const CaptionLayout right = LayoutCaption(CaptionAlignFromNumber(mode), r);
        EXPECT_EQ(right.rect, (SkinRect{5, 0, 145, 28}));
        EXPECT_EQ(right.format, kRight | kVCenter | kSingleLine | kNoPrefix | kEndEllipsis);
    }
}

TEST(ButtonCaptionLayout, WrappedBlockIsCentredOnlyWhenItFits) {
    EXPECT_EQ(CenteredTop(0, 28, 15), 6);
    EXPECT_EQ(CenteredTop(10, 28, 16), 16);
    EXPECT_EQ(CenteredTop(0, 28, 28), 0);
    EXPECT_EQ(CenteredTop(0, 28, 45), 0);
}

TEST(ButtonLamps, TableOfModes) {
    constexpr SkinColor B = kLampBlue, R = kLampRed, G = kLampGreen, D = kLampDark;
    const std::array<SkinColor, 3> expected[9] = {{D, D, D}, {B, D, D}, {D, R, D}, {D, D, G}, {B, R, D},
                                                  {B, D, G}, {D, R, G}, {B, R, G}, {D, D, D}};
    for (int mode = 1; mode <= 8; ++mode) {
        const auto indicator = static_cast<LampIndicator>(mode);
        ASSERT_TRUE(LampColors(indicator).has_value());
        EXPECT_EQ(*LampColors(indicator), expected[mode]) << "mode " << mode;
    }
    EXPECT_FALSE(LampColors(LampIndicator::kNoLamps).has_value());
    EXPECT_EQ(*LampColors(static_cast<LampIndicator>(42)), expected[0]);
    EXPECT_EQ(LampRect(0), (SkinRect{100, 6, 104, 16}));
    EXPECT_EQ(LampRect(1), (SkinRect{106, 6, 110, 16}));
    EXPECT_EQ(LampRect(2), (SkinRect{112, 6, 116, 16}));
}

TEST(FieldColours, DisabledTextIsGreyedTowardsItsBackground) {
    // The program's fields: near-white text on the dark panel.
    const SkinColor text = SkinRgb(251, 251, 251);
    const SkinColor back = SkinRgb(31, 27, 41);
    const SkinColor off = DisabledTextColor(text, back);
    EXPECT_EQ(off, SkinRgb(122, 120, 128));
    // Every channel moves the same share of its own way, whichever way that is.
    EXPECT_EQ(DisabledTextColor(SkinRgb(0, 0, 0), SkinRgb(255, 255, 255)), SkinRgb(149, 149, 149));
    EXPECT_EQ(SkinMix(text, back, 0), text);
    EXPECT_EQ(SkinMix(text, back, 256), back);
}

// The focus mark lies inside the control at every scale, leaves its face
// visible, and grows by whole pixels with the scale, so it is never blurred.
class FocusMarkAtScale : public ::testing::TestWithParam<int> {};

TEST_P(FocusMarkAtScale, InsideWholePixelsAndLeavesTheFace) {
    const UiScale scale{GetParam()};
    for (const auto& [w, h] : {std::pair{120, 24}, std::pair{24, 120}, std::pair{14, 14}, std::pair{9, 9}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const FocusMark mark = FocusMarkFor(scale.Scale(w), scale.Scale(h), scale);
        ASSERT_GT(mark.thickness, 0);
        EXPECT_GE(mark.left, 0);
        EXPECT_GE(mark.top, 0);
        EXPECT_LE(mark.right, scale.Scale(w));
        EXPECT_LE(mark.bottom, scale.Scale(h));
        EXPECT_GT(mark.right - mark.left, 2 * mark.thickness) << "the outline covers the face";
        EXPECT_GT(mark.bottom - mark.top, 2 * mark.thickness) << "the outline covers the face";
    }
    EXPECT_EQ(FocusMarkFor(120, 24, scale).thickness, GetParam() >= 150 ? 2 : 1);
    EXPECT_EQ(FocusMarkFor(2, 30, scale).thickness, 0) << "a sliver carries no mark";
    EXPECT_EQ(FocusMarkFor(0, 0, scale).thickness, 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, FocusMarkAtScale, ::testing::Values(100, 125, 150, 200));

// Arrows in a segmented choice: the next usable part that way, none past the ends.
TEST(SegmentedChoice, ArrowsReachTheNextUsablePartAndStopAtTheEnds) {
    const bool usable[] = {true, false, true, true};
    EXPECT_EQ(NextChoicePart(usable, 0, 1), 2u) << "the disabled part is passed over";
    EXPECT_EQ(NextChoicePart(usable, 2, -1), 0u);
    EXPECT_EQ(NextChoicePart(usable, 2, 1), 3u);
    EXPECT_EQ(NextChoicePart(usable, 3, 1), std::nullopt);
    EXPECT_EQ(NextChoicePart(usable, 0, -1), std::nullopt);
    EXPECT_EQ(NextChoicePart(usable, 4, -1), std::nullopt) << "not a part";
    const bool alone[] = {false, true, false};
    EXPECT_EQ(NextChoicePart(alone, 1, -1), std::nullopt);
    EXPECT_EQ(NextChoicePart(alone, 1, 1), std::nullopt);
}
