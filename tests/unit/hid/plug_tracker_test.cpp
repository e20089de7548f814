#include <gtest/gtest.h>

#include "plug_tracker.h"

using hidio::PlugTracker;

namespace {

const wchar_t kPointer[] = L"\\\\?\\hid#vid_5a21&pid_7c03&mi_00#7&1&0&0000#{4d1e55b2}";
const wchar_t kFeature[] = L"\\\\?\\hid#vid_5a21&pid_7c03&mi_01&col01#7&2&0&0000#{4d1e55b2}";
const wchar_t kReport[] = L"\\\\?\\hid#vid_5a21&pid_7c03&mi_01&col02#7&2&0&0001#{4d1e55b2}";

}  // namespace

TEST(PlugTracker, OnePlugOfManyInterfacesAnnouncesOneArrivalAndOneRemoval) {
    PlugTracker tracker;
    EXPECT_EQ(tracker.OnArrival(kPointer), PlugTracker::Plug::kAttached);
    EXPECT_FALSE(tracker.OnArrival(kFeature));
    EXPECT_FALSE(tracker.OnArrival(kReport));
    EXPECT_FALSE(tracker.OnRemoval(kFeature));
    EXPECT_FALSE(tracker.OnRemoval(kPointer));
    EXPECT_EQ(tracker.OnRemoval(kReport), PlugTracker::Plug::kRemoved);
    EXPECT_FALSE(tracker.AnyPresent());
    // And the next plug is heard again.
    EXPECT_EQ(tracker.OnArrival(kReport), PlugTracker::Plug::kAttached);
}

TEST(PlugTracker, RepeatedNoticesForOneInterfaceCountOnce) {
    PlugTracker tracker;
    EXPECT_EQ(tracker.OnArrival(kPointer), PlugTracker::Plug::kAttached);
    EXPECT_FALSE(tracker.OnArrival(kPointer));
    EXPECT_EQ(tracker.OnRemoval(kPointer), PlugTracker::Plug::kRemoved);
    EXPECT_FALSE(tracker.OnRemoval(kPointer));
}

TEST(PlugTracker, NoticesSpellingAPathInOtherLetterCaseAreTheSameInterface) {
    PlugTracker tracker;
    tracker.Seed({kFeature});
    EXPECT_FALSE(tracker.OnArrival(L"\\\\?\\HID#VID_5A21&PID_7C03&MI_01&COL01#7&2&0&0000#{4D1E55B2}"));
    EXPECT_EQ(tracker.OnRemoval(L"\\\\?\\HID#VID_5A21&PID_7C03&MI_01&COL01#7&2&0&0000#{4D1E55B2}"),
              PlugTracker::Plug::kRemoved);
}

TEST(PlugTracker, AMouseAlreadyPresentWhenWatchingStartsIsNotAnnounced) {
    PlugTracker tracker;
    tracker.Seed({kPointer, kFeature});
    EXPECT_TRUE(tracker.AnyPresent());
    EXPECT_FALSE(tracker.OnArrival(kReport));
    EXPECT_FALSE(tracker.OnRemoval(kPointer));
    EXPECT_FALSE(tracker.OnRemoval(kFeature));
    EXPECT_EQ(tracker.OnRemoval(kReport), PlugTracker::Plug::kRemoved);
}

TEST(PlugTracker, RemovalOfAnInterfaceNeverSeenIsIgnored) {
    PlugTracker tracker;
    EXPECT_FALSE(tracker.OnRemoval(kPointer));
    EXPECT_EQ(tracker.OnArrival(kFeature), PlugTracker::Plug::kAttached);
    EXPECT_FALSE(tracker.OnRemoval(kPointer));
    EXPECT_TRUE(tracker.AnyPresent());
}
