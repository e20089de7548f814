#include <gtest/gtest.h>

#include "hover_state.h"

namespace {

constexpr int kNone = HoverState::kNone;
using Change = HoverState::Change;

}  // namespace

TEST(HoverState, LightsOnTheFirstMoveAndGoesDarkOnLeaving) {
    HoverState hover;
    EXPECT_EQ(hover.Move(0, false, true), (Change{kNone, 0}));
    EXPECT_TRUE(hover.Hovered());
    // Further moves over the same item change nothing, held button or not.
    EXPECT_FALSE(hover.Move(0, false, true));
    EXPECT_FALSE(hover.Move(0, true, true));
    EXPECT_EQ(hover.Leave(), (Change{0, kNone}));
    EXPECT_FALSE(hover.Hovered());
    // A second leave message (or one after the pointer check) reports nothing.
    EXPECT_FALSE(hover.Leave());
    // A move away from every item is a leave too: the control holds the
    // capture and the pointer is outside.
    hover.Move(0, false, true);
    EXPECT_EQ(hover.Move(kNone, true, true), (Change{0, kNone}));
}

TEST(HoverState, NothingLightsWithTheButtonHeldOrTheProgramInactive) {
    HoverState hover;
    EXPECT_FALSE(hover.Move(0, true, true));   // a drag from elsewhere passes over
    EXPECT_FALSE(hover.Move(0, false, false));  // another program is in front
    EXPECT_FALSE(hover.Hovered());
    // Released over the control: the next move lights it.
    EXPECT_EQ(hover.Move(0, false, true), (Change{kNone, 0}));
}

TEST(HoverState, ItemsOfOneControlHandOver) {
    HoverState hover;
    hover.Move(2, false, true);
    EXPECT_EQ(hover.Move(3, false, true), (Change{2, 3}));
    EXPECT_EQ(hover.Hot(), 3);
    // Held on the way: the old row goes dark, the new one stays dark.
    EXPECT_EQ(hover.Move(4, true, true), (Change{3, kNone}));
    EXPECT_FALSE(hover.Hovered());
}

TEST(HoverState, PointerCheckOnlyEverDarkens) {
    HoverState hover;
    EXPECT_FALSE(hover.Check(0));  // the pointer is there, but never moved in
    EXPECT_FALSE(hover.Hovered());
    hover.Move(1, false, true);
    EXPECT_FALSE(hover.Check(1));
    EXPECT_EQ(hover.Check(kNone), (Change{1, kNone}));
    hover.Move(1, false, true);
    EXPECT_EQ(hover.Check(0), (Change{1, kNone}));  // moved to another item unseen
}

TEST(HoverState, SetByTheProgramReportsNothing) {
    HoverState hover;
    hover.Set(0);
    EXPECT_TRUE(hover.Hovered());
    EXPECT_FALSE(hover.Move(0, false, true));
    hover.Set(kNone);
    EXPECT_FALSE(hover.Hovered());
}
