#include "macro_recorder.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kVkA = 0x41, kVkB = 0x42;
constexpr uint8_t kA = 4, kB = 5;

struct Recording {
    UsKeyboardLayout us;
    MacroWorkingCopy copy;
    MacroRecorder recorder;

    MacroRecorder::Outcome Key(uint32_t vk, bool release, uint32_t t) {
        return recorder.OnKey(copy, us, vk, release, t);
    }
    MacroRecorder::Outcome Tap(uint32_t vk, uint32_t down, uint32_t up) {
        Key(vk, false, down);
        return Key(vk, true, up);
    }
    const MacroEvent& At(int i) const { return copy.events[static_cast<size_t>(i)]; }
};

}  // namespace

TEST(MacroRecorder, MeasuredDelaysComeFromTheEventTimesAndAreCapped) {
    Recording r;
    r.recorder.Start(DelayMode::kMeasured, 0);
    r.Key(kVkA, false, 1000);
    r.Key(kVkA, true, 1234);
    r.Key(kVkB, false, 1234 + 100000);  // a pause of 100 s
    ASSERT_EQ(r.copy.count, 5);
    EXPECT_EQ(r.At(0).keyCode, kA);  // the first step has no delay before it
    EXPECT_EQ(r.At(0).pressFlag, kPressFlagDown);
    EXPECT_EQ(r.At(0).delay, 0);
    EXPECT_EQ(r.At(1).keyCode, kDelayStepKey);
    EXPECT_EQ(r.At(1).delay, 234);
    EXPECT_EQ(r.At(2).keyCode, kA);
    EXPECT_EQ(r.At(2).pressFlag, kPressFlagUp);
    EXPECT_EQ(r.At(3).delay, 65535);
    EXPECT_EQ(r.At(4).keyCode, kB);
    EXPECT_EQ(r.recorder.LastStepTime(), 101234u);
}

TEST(MacroRecorder, TheTickCountWrappingOrRunningBackwardsGivesNoHugeDelay) {
    Recording r;
    r.recorder.Start(DelayMode::kMeasured, 0);
    r.Key(kVkA, false, 0xFFFFFFF0u);
    r.Key(kVkA, true, 0x10);  // 32 ms later, across the wrap
    r.Key(kVkB, false, 0x08);  // handed over late: older than the last step
    ASSERT_EQ(r.copy.count, 5);
    EXPECT_EQ(r.At(1).delay, 32);
    EXPECT_EQ(r.At(3).delay, 0);
}

TEST(MacroRecorder, FixedAndNoDelayModes) {
    Recording fixed;
    fixed.recorder.Start(DelayMode::kFixed, 50);
    fixed.Tap(kVkA, 1, 900);
    fixed.Tap(kVkB, 5000, 5001);
    ASSERT_EQ(fixed.copy.count, 7);
    for (int i : {1, 3, 5}) {
        EXPECT_EQ(fixed.At(i).keyCode, kDelayStepKey);
        EXPECT_EQ(fixed.At(i).delay, 50);
    }
    Recording capped;
    capped.recorder.Start(DelayMode::kFixed, 70000);
    EXPECT_EQ(capped.recorder.FixedDelay(), 65535);

    Recording none;
    none.recorder.Start(DelayMode::kNone, 50);
    none.Tap(kVkA, 1, 900);
    none.Tap(kVkB, 5000, 5001);
    ASSERT_EQ(none.copy.count, 4);
    EXPECT_EQ(none.copy.KeySteps(), 4);

    EXPECT_EQ(DelayModeFromNumber(0), DelayMode::kMeasured);
    EXPECT_EQ(DelayModeFromNumber(2), DelayMode::kNone);
    EXPECT_EQ(DelayModeFromNumber(7), DelayMode::kFixed);
}

TEST(MacroRecorder, AHeldKeyGivesOnePressAndOneRelease) {
    Recording r;
    r.recorder.Start(DelayMode::kNone, 0);
    for (uint32_t t = 0; t < 1000; t += 33) r.Key(kVkA, false, t);
    r.Key(kVkA, true, 1000);
    EXPECT_EQ(r.copy.count, 2);
    r.Key(kVkA, false, 1500);
    // A new recording does not take its first key for a repeat of the last one.
    r.recorder.Stop();
    r.recorder.Start(DelayMode::kNone, 0);
    r.Key(kVkA, false, 2000);
    EXPECT_EQ(r.copy.count, 4);
    // A key down since before the start (the Enter that pressed Record) gives no lone release.
    r.Key(kVkB, true, 2100);
    EXPECT_EQ(r.copy.count, 4);
}

TEST(MacroRecorder, KeysWithoutADeviceCodeAndEventsWhileIdleAreDropped) {
    Recording r;
    EXPECT_FALSE(r.Key(kVkA, false, 1).added);  // not recording
    EXPECT_FALSE(r.recorder.OnMouseButton(r.copy, 240, false, 1).added);
    r.recorder.Start(DelayMode::kFixed, 50);
    EXPECT_FALSE(r.Key(0x5F, false, 1).added);
    EXPECT_FALSE(r.recorder.OnMouseButton(r.copy, 7, false, 1).added);
    EXPECT_EQ(r.copy.count, 0);
    // The dropped key did not use up the first-step rule.
    r.Key(kVkA, false, 5);
    EXPECT_EQ(r.copy.count, 1);
    EXPECT_TRUE(r.recorder.OnMouseButton(r.copy, 243, true, 9).added);
    ASSERT_EQ(r.copy.count, 3);
    EXPECT_EQ(r.At(2).keyCode, 243);
    EXPECT_EQ(r.At(2).pressFlag, kPressFlagUp);
}

TEST(MacroRecorder, InsertRecordingPutsStepsAtTheInsertPositionAndMovesOn) {
    Recording r;
    r.copy.InsertAt(0, KeyStep(kB, true));
    r.copy.InsertAt(1, KeyStep(kB, false));
    r.recorder.Start(DelayMode::kFixed, 20, 1);
    EXPECT_TRUE(r.recorder.InsertRecording());
    r.Tap(kVkA, 0, 10);
    ASSERT_EQ(r.copy.count, 5);
    EXPECT_EQ(r.At(0).keyCode, kB);
    EXPECT_EQ(r.At(1).keyCode, kA);
    EXPECT_EQ(r.At(2).delay, 20);
    EXPECT_EQ(r.At(3).keyCode, kA);
    EXPECT_EQ(r.At(4).keyCode, kB);
    EXPECT_EQ(r.recorder.InsertPosition(), 4);
    r.recorder.Stop();
    EXPECT_FALSE(r.recorder.Recording());
    EXPECT_EQ(r.recorder.LastStepTime(), 0u);
}

TEST(MacroRecorder, RecordingStopsAtTheSixtiethKeyStep) {
    Recording r;
    r.recorder.Start(DelayMode::kFixed, 0);  // 0 ms delays count as delays, not keys
    MacroRecorder::Outcome last;
    int events = 0;
    for (uint32_t t = 0; !last.stop; ++t) {
        last = r.Key(kVkA + (t / 2) % 26, t % 2 == 1, t);
        ++events;
        ASSERT_LT(events, 100);
    }
    EXPECT_TRUE(last.added);
    EXPECT_EQ(r.copy.KeySteps(), 60);
    EXPECT_EQ(r.copy.count, 119);
    // A key arriving before the page stops adds nothing, not even its delay.
    EXPECT_FALSE(r.Key(kVkB, false, 500).added);
    EXPECT_EQ(r.copy.count, 119);
}

TEST(MacroRecorder, AFullCopyTakesNoMoreAndStopsRecording) {
    Recording r;
    for (int i = 0; i < 157; ++i) r.copy.InsertAt(0, DelayStep(5));
    r.recorder.Start(DelayMode::kFixed, 10, 0);
    auto first = r.Key(kVkA, false, 0);  // first step: one slot
    EXPECT_TRUE(first.added);
    EXPECT_FALSE(first.stop);
    auto second = r.Key(kVkA, true, 1);  // delay and key: two slots, 160 reached
    EXPECT_TRUE(second.added);
    EXPECT_TRUE(second.stop);
    EXPECT_EQ(r.copy.count, 160);
    auto third = r.Key(kVkB, false, 2);
    EXPECT_FALSE(third.added);
    EXPECT_TRUE(third.stop);
    EXPECT_EQ(r.copy.count, 160);
    // With two free slots and a delay needed, a step that would leave only its delay is refused whole.
    Recording tight;
    for (int i = 0; i < 159; ++i) tight.copy.InsertAt(0, DelayStep(5));
    tight.recorder.Start(DelayMode::kNone, 0);
    EXPECT_TRUE(tight.Key(kVkA, false, 0).stop);
    EXPECT_EQ(tight.copy.count, 160);
}
