// Macro blocks: the delay merge, the two step forms and the end of the block.
#include <gtest/gtest.h>

#include "device_test_support.h"
#include "macro_block.h"

namespace {

DeviceBlock BlockOf(std::initializer_list<MacroEvent> steps, int32_t mode = 0, int32_t count = 2) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 0, steps, mode, count);
    return BuildMacroBlock(p.MacroKeyInfo[0]);
}

TEST(MacroBlockTest, DelayFoldedIntoThePreviousStepAndLongForm) {
    const DeviceBlock block = BlockOf({{0x04, 1, 30}, {0xFF, 0, 20}, {0x04, 2, 2000}});
    std::vector<uint8_t> expected(128, 0);
    const auto head = Bytes({0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x28, 0x02});
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(Slice(block, 0, 128), expected);
}

TEST(MacroBlockTest, RepeatHeaders) {
    EXPECT_EQ(Slice(BlockOf({}, 0), 0, 2), Bytes({0x00, 0x01}));
    EXPECT_EQ(Slice(BlockOf({}, 1, 200), 0, 2), Bytes({0x00, 0xC8}));
    EXPECT_EQ(Slice(BlockOf({}, 1, 0x1234), 0, 2), Bytes({0x12, 0x34}));  // big-endian
    EXPECT_EQ(Slice(BlockOf({}, 2, 200), 0, 2), Bytes({0x00, 0x00}));
    EXPECT_EQ(Slice(BlockOf({}, -5, 200), 0, 2), Bytes({0x00, 0x00}));
}

TEST(MacroBlockTest, ShortAndLongFormBoundaries) {
    std::array<uint8_t, 4> out{};
    // 1279 ms is Q 127, the last short form; bit 0 is always set, bit 7 means release.
    ASSERT_EQ(EncodeMacroStep({0x10, 1, 1279}, out), 2);
    EXPECT_EQ(out[0], 0x7F);
    ASSERT_EQ(EncodeMacroStep({0x10, 2, 1279}, out), 2);
    EXPECT_EQ(out[0], 0xFF);
    ASSERT_EQ(EncodeMacroStep({0x10, 1, 40}, out), 2);
    EXPECT_EQ(out[0], 0x05);
    ASSERT_EQ(EncodeMacroStep({0x10, 0, 9}, out), 2);  // any press flag but 1 is a release
    EXPECT_EQ(out[0], 0x81);
    ASSERT_EQ(EncodeMacroStep({0x10, 1, 1280}, out), 4);
    EXPECT_EQ((std::vector<uint8_t>{out.begin(), out.end()}), Bytes({0x01, 0x10, 25, 0x02}));
    ASSERT_EQ(EncodeMacroStep({0x10, 2, 12799}, out), 4);
    EXPECT_EQ(out[2], 255);
}

TEST(MacroBlockTest, LongDelaysStayLongInsteadOfWrapping) {
    std::array<uint8_t, 4> out{};
    // 20 s is more than one step can say: the longest delay, not 20000 / 50 modulo 256.
    ASSERT_EQ(EncodeMacroStep({0x10, 1, 20000}, out), 4);
    EXPECT_EQ(out[2], 255);
    ASSERT_EQ(EncodeMacroStep({0x10, 1, 65535}, out), 4);
    EXPECT_EQ(out[2], 255);
}

TEST(MacroBlockTest, MergeRules) {
    const std::vector<MacroEvent> steps = {
        {0xFF, 0, 100},   // a leading delay is kept as a step
        {0xFF, 0, 50},    // folded into it
        {0x04, 1, 10},
        {0xFF, 0, 40000},
        {0xFF, 0, 40000},  // 10 + 80000 would wrap; the sum stops at 65535
        {0x04, 2, 0},
    };
    const auto merged = MergeDelaySteps(steps);
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_EQ(merged[0].keyCode, 0xFF);
    EXPECT_EQ(merged[0].delay, 150);
    EXPECT_EQ(merged[1].keyCode, 0x04);
    EXPECT_EQ(merged[1].delay, 65535);
    EXPECT_EQ(merged[2].delay, 0);
}

TEST(MacroBlockTest, StepsEndAtTheEndOfTheBlock) {
    ProfileRecord p = MonitorDefaultProfile();
    ButtonAssignment& b = p.MacroKeyInfo[0];
    SetMacro(p, 0, {});
    // 63 short steps fill bytes 2-127 exactly; the 64th is not sent.
    b.eventCount = 64;
    for (int i = 0; i < 64; ++i) b.events[i] = {uint8_t(0x04 + i % 20), uint8_t(i % 2 ? 2 : 1), 0};
    DeviceBlock block = BuildMacroBlock(b);
    EXPECT_EQ(block[126], 0x01);
    EXPECT_EQ(block[127], 0x04 + 62 % 20);

    // A long step starting at byte 126 keeps its first two bytes (the key still plays).
    b.eventCount = 63;
    b.events[62] = {0x2C, 1, 5000};
    block = BuildMacroBlock(b);
    EXPECT_EQ(block[126], 0x01);
    EXPECT_EQ(block[127], 0x2C);

    // Event counts past the 160 slots are not followed into other memory.
    b.eventCount = 500;
    for (int i = 0; i < kMaxMacroEvents; ++i) b.events[i] = {0xFF, 0, 10};
    b.events[0] = {0x05, 1, 0};
    block = BuildMacroBlock(b);
    // One step, carrying all 159 delays: 1590 ms is the long form.
    EXPECT_EQ(Slice(block, 2, 5), Bytes({0x01, 0x05, 31, 0x02, 0x00}));
}

}  // namespace
