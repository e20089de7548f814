#include "performance_model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "profile_store.h"

using namespace performance;

namespace {

ProfileRecord Fresh() {
    ProfileRecord record{};
    InitNewProfile(record, u"P");
    return record;
}

}  // namespace

TEST(PerformanceModel, TheDpiSliderEditsTheActiveLevelWithinItsRange) {
    ProfileRecord r = Fresh();
    r.CpiStep = 3;
    SetActiveDpi(r, 100);
    EXPECT_EQ(r.CpiLevel_X[3], 100);
    EXPECT_EQ(DpiText(ActiveDpi(r)), u"10000");
    SetActiveDpi(r, 2);
    EXPECT_EQ(DpiText(ActiveDpi(r)), u"200");
    SetActiveDpi(r, 101);
    EXPECT_EQ(r.CpiLevel_X[3], 100);
    SetActiveDpi(r, -5);
    EXPECT_EQ(r.CpiLevel_X[3], 2);
    // The other levels are untouched.
    const ProfileRecord fresh = Fresh();
    for (int i : {0, 1, 2, 4}) EXPECT_EQ(r.CpiLevel_X[i], fresh.CpiLevel_X[i]) << i;
}

TEST(PerformanceModel, AHandEditedStepOrValueNeverLeavesTheLevels) {
    ProfileRecord r = Fresh();
    r.CpiStep = 9;
    EXPECT_EQ(ActiveLevel(r), 4);
    r.CpiStep = -3;
    EXPECT_EQ(ActiveLevel(r), 0);
    r.CpiLevel_X[0] = 5000;
    EXPECT_EQ(ActiveDpi(r), kDpiMax);
    r.CpiLevel_X[0] = 0;
    EXPECT_EQ(ActiveDpi(r), kDpiMin);
}

TEST(PerformanceModel, PointerSpeedIsTwiceTheSliderAndNeverZero) {
    EXPECT_EQ(MouseSpeedFor(0), 1);
    EXPECT_EQ(MouseSpeedFor(1), 2);
    EXPECT_EQ(MouseSpeedFor(10), 20);
    EXPECT_EQ(MouseSpeedFor(11), 20);
    EXPECT_EQ(SpeedSliderValue(1), 0);
    EXPECT_EQ(SpeedSliderValue(10), 5);
    EXPECT_EQ(SpeedSliderValue(19), 9);
    EXPECT_EQ(SpeedSliderValue(20), 10);
    EXPECT_EQ(SpeedSliderValue(400), 10);
    EXPECT_EQ(SpeedSliderValue(-7), 0);
}

TEST(PerformanceModel, PollingRateMenuAndCaption) {
    EXPECT_EQ(PollingRateOf(1001), 8);
    EXPECT_EQ(PollingRateOf(1002), 4);
    EXPECT_EQ(PollingRateOf(1003), 2);
    EXPECT_EQ(PollingRateOf(1004), 1);
    EXPECT_EQ(PollingRateOf(1005), 0);
    EXPECT_EQ(PollingRateOf(1000), 0);
    EXPECT_EQ(PollingCaptionText(8), 121u);
    EXPECT_EQ(PollingCaptionText(4), 122u);
    EXPECT_EQ(PollingCaptionText(1), 124u);
    for (int odd : {2, 3, 0, -1, 16}) EXPECT_EQ(PollingCaptionText(odd), 123u) << odd;
    // Every rate the menu stores shows its own item's text.
    for (const PollingChoice& c : kPollingChoices) EXPECT_EQ(PollingCaptionText(c.rate), c.text);
}

TEST(DpiLevelsCopy, ChoosingACountShowsThatManyRowsAndActivatesTheLast) {
    ProfileRecord r = Fresh();
    DpiLevels levels = DpiLevels::From(r);
    EXPECT_EQ(levels.count, 5);
    EXPECT_EQ(levels.active, 2);
    EXPECT_TRUE(levels.ChooseCount(1003));
    EXPECT_EQ(levels.count, 3);
    EXPECT_EQ(levels.active, 2);
    EXPECT_FALSE(levels.Choose(3)) << "a row that is not shown";
    EXPECT_TRUE(levels.Choose(0));
    EXPECT_EQ(levels.active, 0);
    EXPECT_FALSE(levels.ChooseCount(1006));
    EXPECT_FALSE(levels.ChooseCount(1000));
    EXPECT_EQ(levels.count, 3);
    EXPECT_TRUE(levels.ChooseCount(1001));
    EXPECT_EQ(levels.active, 0);
}

TEST(DpiLevelsCopy, OnlyApplyingChangesTheProfile) {
    ProfileRecord r = Fresh();
    const ProfileRecord before = r;
    DpiLevels levels = DpiLevels::From(r);
    levels.ChooseCount(1003);
    levels.SetActiveValue(77);
    EXPECT_EQ(memcmp(&r, &before, sizeof r), 0);
    levels.ApplyTo(r);
    EXPECT_EQ(r.MaxDPI, 3);
    EXPECT_EQ(r.CpiStep, 2);
    EXPECT_EQ(r.CpiLevel_X[2], 77);
    EXPECT_EQ(r.CpiLevel_X[0], before.CpiLevel_X[0]);
}

TEST(DpiLevelsCopy, AHandEditedProfileGivesAUsableCopy) {
    ProfileRecord r = Fresh();
    r.MaxDPI = 0;
    r.CpiStep = 4;
    r.CpiLevel_X[0] = 900;
    DpiLevels levels = DpiLevels::From(r);
    EXPECT_EQ(levels.count, 1);
    EXPECT_EQ(levels.active, 0);
    EXPECT_EQ(levels.ActiveValue(), kDpiMax);
    r.MaxDPI = 12;
    r.CpiStep = 7;
    levels = DpiLevels::From(r);
    EXPECT_EQ(levels.count, 5);
    EXPECT_EQ(levels.active, 4);
    levels.SetActiveValue(1);
    EXPECT_EQ(levels.ActiveValue(), kDpiMin);
}

TEST(DpiLevelsCopy, RowCaptionsAreNumberedFromOne) {
    EXPECT_EQ(RowCaption(u"Level", 0), u"Level 1");
    EXPECT_EQ(RowCaption(u"", 4), u" 5");
}
