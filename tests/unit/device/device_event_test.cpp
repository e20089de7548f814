// Device events from message parameters, and what they change.
#include <gtest/gtest.h>

#include "device_event.h"
#include "device_test_support.h"

namespace {

using Kind = DeviceEventAction::Kind;

TEST(DeviceEventTest, DecodeTakesTheLow16Bits) {
    EXPECT_EQ(DecodeDeviceEvent(0xFFFF0703u, 0x7FFF0002), (DeviceEvent{0x0703, 0x0002}));
    EXPECT_EQ(DecodeDeviceEvent(0x000A, -1), (DeviceEvent{0x000A, 0xFFFF}));
}

TEST(DeviceEventTest, EventTable) {
    struct Case {
        uint16_t code, value;
        DeviceEventAction action;
    };
    const Case cases[] = {
        {0x000A, 1, {Kind::kLaunch, 0}},
        {0x000A, 16, {Kind::kLaunch, 15}},
        {0x000A, 0, {}},
        {0x000A, 17, {}},
        {0x000A, 0x0101, {}},  // high byte must be 0
        {0x00A0, 0, {Kind::kOpenOption, 0}},
        {0x00A0, 0xBEEF, {Kind::kOpenOption, 0}},
        {0x0700, 1, {Kind::kSetCpiStep, 0}},
        {0x07FF, 5, {Kind::kSetCpiStep, 4}},
        {0x0703, 0, {}},
        {0x0703, 6, {Kind::kSetCpiStep, 5}},  // passed on: the mouse holds it, the profile decides
        {0x0700, 8, {Kind::kSetCpiStep, 7}},
        {0x0700, 9, {}},
        {0x0500, 1, {Kind::kSetPollingRate, 1}},
        {0x05AB, 8, {Kind::kSetPollingRate, 8}},
        {0x0500, 9, {}},
        {0x0500, 0, {}},
        {0x0600, 1, {}},
        {0x000B, 1, {}},
        {0x0000, 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InterpretDeviceEvent({c.code, c.value}), c.action) << std::hex << c.code << " " << c.value;
}

TEST(DeviceEventTest, ChangesAndLaunchTargets) {
    ProfileRecord p = MonitorDefaultProfile();
    // What is stored stays within the store's own rules: CpiStep below
    // MaxDPI (itself read as 1-5), PollingRate 1, 2, 4 or 8.
    struct Change {
        DeviceEventAction action;
        int32_t maxDpi;
        DeviceChange result;
        int32_t cpiStep, pollingRate;  // afterwards
    };
    const Change changes[] = {
        {{Kind::kSetCpiStep, 4}, 5, DeviceChange::kTaken, 4, 2},
        {{Kind::kSetCpiStep, 3}, 2, DeviceChange::kClamped, 1, 2},
        {{Kind::kSetCpiStep, 1}, 2, DeviceChange::kTaken, 1, 2},
        {{Kind::kSetCpiStep, 7}, 5, DeviceChange::kClamped, 4, 2},
        {{Kind::kSetCpiStep, 2}, 0, DeviceChange::kClamped, 0, 2},  // a damaged MaxDPI counts as one level
        {{Kind::kSetCpiStep, 6}, 9, DeviceChange::kClamped, 4, 2},
        {{Kind::kSetPollingRate, 8}, 5, DeviceChange::kTaken, 4, 8},
        {{Kind::kSetPollingRate, 3}, 5, DeviceChange::kRefused, 4, 8},
        {{Kind::kSetPollingRate, 7}, 5, DeviceChange::kRefused, 4, 8},
        {{Kind::kSetPollingRate, 1}, 5, DeviceChange::kTaken, 4, 1},
        {{Kind::kLaunch, 2}, 5, DeviceChange::kNone, 4, 1},
        {{}, 5, DeviceChange::kNone, 4, 1},
    };
    for (const Change& c : changes) {
        p.MaxDPI = c.maxDpi;
        EXPECT_EQ(ApplyDeviceChange(p, c.action), c.result) << c.action.value << " of " << c.maxDpi;
        EXPECT_EQ(p.CpiStep, c.cpiStep) << c.action.value << " of " << c.maxDpi;
        EXPECT_EQ(p.PollingRate, c.pollingRate) << c.action.value;
    }

    EXPECT_FALSE(LaunchTarget(p, 3));  // a mouse button, nothing to open
    p.MacroKeyInfo[3].FunctionCode = kCodeLaunchProgram;
    EXPECT_FALSE(LaunchTarget(p, 3));  // no program
    CopyToField(p.MacroKeyInfo[3].program, u"C:\\Games\\game.exe");
    EXPECT_EQ(LaunchTarget(p, 3), std::u16string(u"C:\\Games\\game.exe"));
    p.MacroKeyInfo[4].FunctionCode = kCodeLaunchCommand;
    CopyToField(p.MacroKeyInfo[4].program, u"notepad");
    EXPECT_EQ(LaunchTarget(p, 4), std::u16string(u"notepad"));
    // A program text without terminator stays inside its field.
    for (char16_t& c : p.MacroKeyInfo[4].program) c = u'x';
    EXPECT_EQ(LaunchTarget(p, 4)->size(), size_t(kProgramFieldUnits));
    EXPECT_FALSE(LaunchTarget(p, -1));
    EXPECT_FALSE(LaunchTarget(p, 16));
}

}  // namespace
