// Exact frames of the report protocol: commands, attribute block, button table.
#include <gtest/gtest.h>

#include <set>

#include "attribute_block.h"
#include "button_table.h"
#include "device_test_support.h"
#include "feature_command.h"

namespace {

std::vector<uint8_t> Vec(const FeatureCommand& c) { return {c.begin(), c.end()}; }

TEST(FeatureCommandTest, KnownFrames) {
    EXPECT_EQ(Vec(StartCommand()), Bytes({0x01, 0x08, 0, 0, 0, 0, 0, 0xF6}));
    EXPECT_EQ(Vec(EndCommand()), Bytes({0x02, 0x01, 0, 0, 0, 0, 0, 0xFC}));
    EXPECT_EQ(Vec(DpiStepCommand(2)), Bytes({0x04, 0x01, 0x03, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(Vec(PollingRateCommand(8)), Bytes({0x03, 0x01, 0x08, 0, 0, 0, 0, 0xF3}));
    EXPECT_EQ(Vec(AttributeBlockCommand()), Bytes({0x0C, 0x01, 0x80, 0, 0, 0, 0, 0x72}));
    EXPECT_EQ(Vec(ButtonTableCommand()), Bytes({0x0D, 0x01, 0x80, 0, 0, 0, 0, 0x71}));
    EXPECT_EQ(Vec(MacroBlockCommand(10)), Bytes({0x0F, 0x0A, 0x80, 0, 0, 0, 0, 0x66}));
}

TEST(FeatureCommandTest, ArgumentsKeepTheLowByteAndTheSumIsAlwaysFF) {
    // Damaged stores carry any int; only the low byte goes out.
    EXPECT_EQ(PollingRateCommand(0x104)[2], 0x04);
    EXPECT_EQ(PollingRateCommand(-1)[2], 0xFF);
    EXPECT_EQ(DpiStepCommand(-1)[2], 0x00);
    EXPECT_EQ(DpiStepCommand(255)[2], 0x00);
    for (int code = 0; code < 256; code += 7) {
        for (int arg = 0; arg < 256; arg += 13) {
            const FeatureCommand c = MakeFeatureCommand(uint8_t(code), uint8_t(arg), uint8_t(255 - arg));
            unsigned sum = 0;
            for (uint8_t b : c) sum += b;
            EXPECT_EQ(sum % 256, 0xFFu);
            EXPECT_TRUE(HasValidChecksum(c));
        }
    }
    FeatureCommand broken = StartCommand();
    broken[5] = 1;
    EXPECT_FALSE(HasValidChecksum(broken));
}

TEST(FeatureCommandTest, BlockHalvesAreTheTwoHalvesOfTheBlock) {
    DeviceBlock block;
    for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i + 1);
    const ReportHalf first = BlockHalf(block, 0), second = BlockHalf(block, 1);
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(first[63], 64);
    EXPECT_EQ(second[0], 65);
    EXPECT_EQ(second[63], 128);
}

// The attribute block of the Monitor's reset profile, byte for byte.
TEST(AttributeBlockTest, MonitorDefaultProfileFrame) {
    const DeviceBlock block = BuildAttributeBlock(MonitorDefaultProfile());
    DeviceBlock expected{};
    const auto put = [&](size_t at, std::initializer_list<int> v) {
        for (int b : v) expected[at++] = uint8_t(b);
    };
    put(0, {0xFF, 0xFF});
    put(48, {0x35, 0xD4, 0x0B, 0x04});
    put(60, {0x04, 0x80, 0x03, 0x00, 0x0F, 0x04, 0x0A, 0x0A, 0x19, 0x19});
    put(70, {5, 0x03, 0x0C, 0x00});  // five levels; wave, speed 1, direction 0
    put(74, {0x64, 0x64, 0x01, 0xC0, 0xF0, 0x03, 0x01, 0x01, 0x64, 0x00});
    put(84, {8, 16, 32, 64, 100, 7, 7, 7});
    put(92, {8, 16, 32, 64, 100, 7, 7, 7, 0x7F, 0xFF, 0xFF, 0xFF});
    // Intensity 2 divides by 5: 0xFFFF00 style colours become 51.
    put(104, {51, 51, 0, 0, 51, 0, 0, 0, 51, 51, 0, 0, 51, 0, 51});
    EXPECT_EQ(Slice(block, 0, 128), Slice(expected, 0, 128));
}

TEST(AttributeBlockTest, OnlyTheProfileBytesChange) {
    ProfileRecord p = MonitorDefaultProfile();
    p.MaxDPI = 3;
    p.CpiLevel_X[0] = 130;  // 260 modulo 256
    p.CpiLevel_X[4] = -1;
    p.CpiLevel_Y[1] = 99;   // never sent
    p.LightSwitch = 1;
    p.LightIntensity = 0;
    p.DPIColor[1] = 0x00FF8050;
    p.DPIColor[5] = 0x123456;  // never sent
    const DeviceBlock block = BuildAttributeBlock(p);
    const DeviceBlock base = AttributeBlockTemplate();
    std::set<size_t> profileBytes = {70, 71, 72, 73};
    for (size_t i = 0; i < 5; ++i) profileBytes.insert({84 + i, 92 + i});
    for (size_t i = 104; i < 119; ++i) profileBytes.insert(i);
    for (size_t i = 0; i < block.size(); ++i)
        if (!profileBytes.count(i)) {
            EXPECT_EQ(block[i], base[i]) << "byte " << i;
        }
    EXPECT_EQ(block[70], 3);
    EXPECT_EQ(Slice(block, 71, 3), Bytes({0x01, 0x31, 0x00}));
    EXPECT_EQ(block[84], 4);
    EXPECT_EQ(block[88], 0xFE);
    EXPECT_EQ(Slice(block, 84, 5), Slice(block, 92, 5));
    // Intensity 0 divides by 40: red 0x50 -> 2, green 0x80 -> 3, blue 0xFF -> 6.
    EXPECT_EQ(Slice(block, 107, 3), Bytes({2, 3, 6}));
}

TEST(AttributeBlockTest, LightingTriples) {
    struct Case {
        int lightSwitch, intensity, speed, dir;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {0, 7, 7, 7, Bytes({0, 0, 0})},
        {1, 0, 9, 0, Bytes({1, 0x31, 0})},   {1, 1, 9, 0, Bytes({1, 0x19, 0})},
        {1, 2, 9, 5, Bytes({1, 0x05, 0})},   {2, 9, 0, 0, Bytes({2, 0x19, 0})},
        {2, 9, 1, 0, Bytes({2, 0x0F, 0})},   {2, 9, 2, 3, Bytes({2, 0x05, 0})},
        {3, 9, 0, 0, Bytes({3, 0x14, 0})},   {3, 9, 1, 1, Bytes({3, 0x0C, 1})},
        {3, 9, 2, 0x1FF, Bytes({3, 0x05, 0xFF})},
        // Out of range: the mode or the field that decides it.
        {4, 0, 0, 0, Bytes({2, 1, 2})},      {-1, 0, 0, 0, Bytes({2, 1, 2})},
        {1, 3, 0, 0, Bytes({2, 1, 2})},      {1, -1, 0, 0, Bytes({2, 1, 2})},
        {2, 0, 3, 0, Bytes({2, 1, 2})},      {3, 0, -1, 1, Bytes({2, 1, 2})},
    };
    for (const Case& c : cases) {
        const LightingTriple t = MakeLightingTriple(c.lightSwitch, c.intensity, c.speed, c.dir);
        EXPECT_EQ(std::vector<uint8_t>(t.begin(), t.end()), c.bytes)
            << "switch " << c.lightSwitch << " intensity " << c.intensity << " speed " << c.speed;
    }
}

TEST(AttributeBlockTest, ColourDivisorByIntensity) {
    ProfileRecord p = MonitorDefaultProfile();
    p.DPIColor[0] = 0x00FFFFFF;
    const std::pair<int, uint8_t> cases[] = {{0, 6}, {1, 12}, {2, 51}, {3, 51}, {-1, 51}};
    for (const auto& [intensity, component] : cases) {
        p.LightIntensity = intensity;
        const DeviceBlock block = BuildAttributeBlock(p);
        EXPECT_EQ(Slice(block, 104, 3), Bytes({component, component, component})) << "intensity " << intensity;
    }
    // Remainders are dropped: 0x50 is 80.
    p.DPIColor[0] = 0x00505050;
    const std::pair<int, uint8_t> exact[] = {{0, 2}, {1, 4}, {2, 16}};
    for (const auto& [intensity, component] : exact) {
        p.LightIntensity = intensity;
        EXPECT_EQ(Slice(BuildAttributeBlock(p), 104, 3), Bytes({component, component, component}));
    }
    // Bits above blue are not a colour.
    p.DPIColor[0] = int32_t(0xFF000000u);
    EXPECT_EQ(Slice(BuildAttributeBlock(p), 104, 3), Bytes({0, 0, 0}));
}

std::vector<uint8_t> EntryAt(const DeviceBlock& table, int button) { return Slice(table, 4 * size_t(button), 4); }

TEST(ButtonTableTest, DefaultButtons) {
    const auto t = BuildButtonTable(MonitorDefaultProfile());
    EXPECT_EQ(EntryAt(t->table, 0), Bytes({0x01, 0x00, 0xF0, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 1), Bytes({0x01, 0x00, 0xF1, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 2), Bytes({0x01, 0x00, 0xF2, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 3), Bytes({0x01, 0x00, 0xF3, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 4), Bytes({0x01, 0x00, 0xF4, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 5), Bytes({0x07, 0x00, 0x01, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 6), Bytes({0x07, 0x00, 0x02, 0x00}));
    for (int i = 7; i <= 13; ++i) EXPECT_EQ(EntryAt(t->table, i), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(EntryAt(t->table, 14), Bytes({0x04, 0x00, 0x01, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 15), Bytes({0x04, 0x00, 0x02, 0x00}));
    EXPECT_EQ(Slice(t->table, 64, 64), std::vector<uint8_t>(64, 0));
    EXPECT_EQ(t->macros.PendingCount(), 0);
}

TEST(ButtonTableTest, TableRowsAndGaps) {
    EXPECT_EQ(DeviceFunctionTable().size(), 60u);
    EXPECT_FALSE(FindDeviceFunction(21));
    EXPECT_FALSE(FindDeviceFunction(43));
    EXPECT_FALSE(FindDeviceFunction(61));
    EXPECT_FALSE(FindDeviceFunction(121));
    EXPECT_FALSE(FindDeviceFunction(255));
    EXPECT_EQ(*FindDeviceFunction(6), (ButtonEntry{0x0A, 0xF0, 0x32, 0x02}));
    EXPECT_EQ(*FindDeviceFunction(31), (ButtonEntry{0x03, 0x00, 0xE9, 0x00}));
    EXPECT_EQ(*FindDeviceFunction(33), (ButtonEntry{0x03, 0x00, 0x92, 0x01}));
    EXPECT_EQ(*FindDeviceFunction(117), (ButtonEntry{0x00, 0x04, 0x3D, 0x00}));
    EXPECT_EQ(*FindDeviceFunction(120), (ButtonEntry{0x00, 0x01, 0x19, 0x00}));
}

TEST(ButtonTableTest, OverridesPerButton) {
    ProfileRecord p = MonitorDefaultProfile();
    // An unknown code: four zero bytes, no macro block.
    p.MacroKeyInfo[0].FunctionCode = 21;
    // A key with the shift modifier (0x04 in byte 71 goes out as 0x02).
    p.MacroKeyInfo[1].FunctionCode = kCodeKeyboardKey;
    p.MacroKeyInfo[1].setKey(0x1D, 0x04);
    // Launch codes carry the button number.
    p.MacroKeyInfo[2].FunctionCode = kCodeLaunchProgram;
    p.MacroKeyInfo[11].FunctionCode = kCodeLaunchCommand;
    // Macro kinds other than 16 get their number and an empty block.
    p.MacroKeyInfo[5].FunctionCode = 56;
    // The configuration-window button.
    p.MacroKeyInfo[6].FunctionCode = 24;
    const auto t = BuildButtonTable(p);
    EXPECT_EQ(EntryAt(t->table, 0), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(EntryAt(t->table, 1), Bytes({0x00, 0x02, 0x1D, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 2), Bytes({0x06, 0x00, 0x0A, 3}));
    EXPECT_EQ(EntryAt(t->table, 11), Bytes({0x06, 0x00, 0x0A, 12}));
    EXPECT_EQ(EntryAt(t->table, 5), Bytes({0x09, 0x00, 6, 0x04}));
    EXPECT_EQ(EntryAt(t->table, 6), Bytes({0x06, 0x00, 0xA0, 0x00}));
    EXPECT_FALSE(t->macros.pending[0]);
    EXPECT_TRUE(t->macros.pending[5]);
    EXPECT_EQ(t->macros.blocks[5], DeviceBlock{});
    EXPECT_EQ(t->macros.PendingCount(), 1);
}

TEST(ButtonTableTest, MacroButtonsAndRepeatModes) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 3, {{0x04, 1, 0}, {0x04, 2, 0}}, /*repeatMode=*/2);
    SetMacro(p, 9, {{0x05, 1, 0}}, /*repeatMode=*/1, 200);
    SetMacro(p, 12, {}, /*repeatMode=*/3);  // no steps: the mode is not told
    const auto t = BuildButtonTable(p);
    EXPECT_EQ(EntryAt(t->table, 3), Bytes({0x09, 0x01, 4, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 9), Bytes({0x09, 0x00, 10, 0x00}));
    EXPECT_EQ(EntryAt(t->table, 12), Bytes({0x09, 0x00, 13, 0x00}));
    EXPECT_EQ(t->macros.PendingCount(), 3);
    EXPECT_EQ(Slice(t->macros.blocks[3], 0, 6), Bytes({0x00, 0x00, 0x01, 0x04, 0x81, 0x04}));
    EXPECT_EQ(Slice(t->macros.blocks[9], 0, 4), Bytes({0x00, 0xC8, 0x01, 0x05}));
    EXPECT_EQ(Slice(t->macros.blocks[12], 0, 2), Bytes({0x00, 0x00}));
}

}  // namespace
