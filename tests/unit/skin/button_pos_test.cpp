#include <gtest/gtest.h>

#include <string>

#include "button_pos.h"

namespace {

SkinRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return SkinRect{l, t, r, b}; }

}  // namespace

TEST(ButtonPosParse, NameRectangleAndTooltip) {
    const ButtonPos pos = ParseButtonPos(u"OK,120,200,60,22,Save the settings");
    EXPECT_EQ(pos.Name(), u"OK");
    EXPECT_EQ(pos.rect, Rect(120, 200, 180, 222));
    EXPECT_EQ(pos.Text(), u"Save the settings");
    EXPECT_EQ(pos.initialCheck, 0u);
}

TEST(ButtonPosParse, TextIsThePartAfterTheLastComma) {
    const ButtonPos many = ParseButtonPos(u"A,1,2,3,4,x,tip");
    EXPECT_EQ(many.rect, Rect(1, 2, 4, 6));
    EXPECT_EQ(many.Text(), u"tip");

    EXPECT_EQ(ParseButtonPos(u"A,1,2,3,4").Text(), u"4");

    const ButtonPos blanks = ParseButtonPos(u"A,10,20,30,40, Hello \t");
    EXPECT_EQ(blanks.rect, Rect(10, 20, 40, 60));
    EXPECT_EQ(blanks.Text(), u"Hello");
}

TEST(ButtonPosParse, NumbersMustFollowTheirCommas) {
    // A blank before a comma ends the scan; blanks before a number do not.
    EXPECT_EQ(ParseButtonPos(u"A,10 ,20,30,40,B").rect, Rect(10, 0, 10, 0));
    EXPECT_EQ(ParseButtonPos(u"A, 10, 20,30,40,B").rect, Rect(10, 20, 40, 60));
    EXPECT_EQ(ParseButtonPos(u"A,-5,+7,10,3,B").rect, Rect(-5, 7, 5, 10));
    EXPECT_EQ(ParseButtonPos(u"A,1,2,x,4,B").rect, Rect(1, 2, 1, 2));
}

TEST(ButtonPosParse, MissingOrOddValues) {
    const ButtonPos empty = ParseButtonPos(u"");
    EXPECT_EQ(empty.Name(), u"");
    EXPECT_EQ(empty.rect, Rect(0, 0, 0, 0));
    EXPECT_EQ(empty.Text(), u"");
    EXPECT_TRUE(empty.rect.IsEmpty());

    // No comma: everything is R, so the numbers are read from the start.
    const ButtonPos bare = ParseButtonPos(u"5,6,7,8");
    EXPECT_EQ(bare.Name(), u"5");
    EXPECT_EQ(bare.rect, Rect(6, 7, 14, 7));

    const ButtonPos noComma = ParseButtonPos(u"only text");
    EXPECT_EQ(noComma.Name(), u"");
    EXPECT_EQ(noComma.Text(), u"only text");

    // An empty name before the first comma.
    const ButtonPos unnamed = ParseButtonPos(u",1,2,3,4,t");
    EXPECT_EQ(unnamed.Name(), u"");
    EXPECT_EQ(unnamed.rect, Rect(1, 2, 4, 6));

    EXPECT_TRUE(ParseButtonPos(u"A,10,10,0,20,t").rect.IsEmpty());
    EXPECT_TRUE(ParseButtonPos(u"A,10,10,20,0,t").rect.IsEmpty());
}

TEST(ButtonPosParse, HostileValuesStayInTheirFields) {
    const std::u16string longName(100, u'n');
    const std::u16string longText(1000, u't');
    const ButtonPos pos = ParseButtonPos(longName + u",1,2,3,4," + longText);
    EXPECT_EQ(pos.Name().size(), ButtonPos::kNameUnits - 1);
    EXPECT_EQ(pos.Text().size(), ButtonPos::kTextUnits - 1);
    EXPECT_EQ(pos.rect, Rect(1, 2, 4, 6));

    // Huge numbers saturate instead of wrapping round to negative sizes.
    const ButtonPos huge = ParseButtonPos(u"A,2147483000,99999999999999999999,2147483000,5,t");
    EXPECT_EQ(huge.rect.left, 2147483000);
    EXPECT_EQ(huge.rect.top, 2147483647);
    EXPECT_EQ(huge.rect.right, 2147483647);
    EXPECT_EQ(huge.rect.bottom, 2147483647);
    const ButtonPos low = ParseButtonPos(u"A,-2147483648,-99999999999,-5,-5,t");
    EXPECT_EQ(low.rect.left, -2147483647 - 1);
    EXPECT_EQ(low.rect.right, -2147483647 - 1);
}
