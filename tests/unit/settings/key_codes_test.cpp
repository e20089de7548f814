#include "key_codes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A layout that puts virtual key A where Q sits (as AZERTY does) and has no
// scan code for F1.
class SwappedLayout : public IKeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t vk) const override {
        if (vk == 0x41) return 0x10;
        if (vk == 0x51) return 0x1E;
        if (vk == 0x70) return 0;
        return us_.VirtualKeyToScanCode(vk);
    }
    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override {
        if (scan == 0x10) return 0x41;
        if (scan == 0x1E) return 0x51;
        return us_.ScanCodeToVirtualKey(scan);
    }

private:
    UsKeyboardLayout us_;
};

}  // namespace

TEST(KeyCodeTable, IsConsistent) {
    std::set<uint32_t> vks, codes;
    for (const auto& row : KeyCodeTable()) {
        EXPECT_TRUE(vks.insert(row.virtualKey).second) << row.virtualKey;
        EXPECT_TRUE(codes.insert(row.deviceCode).second) << row.deviceCode;
        EXPECT_EQ(row.scanCode != 0, row.deviceCode >= 4 && row.deviceCode <= 69) << row.deviceCode;
        EXPECT_FALSE(KeyName(row.virtualKey).empty()) << row.virtualKey;
    }
    EXPECT_EQ(vks.size(), 109u);
}

TEST(KeyCodes, ConvertByPositionOnTheKeyboard) {
    UsKeyboardLayout us;
    SwappedLayout swapped;
    uint32_t code = 99;
    EXPECT_TRUE(VirtualKeyToDeviceCode(us, 0x41, code));
    EXPECT_EQ(code, 4u);
    EXPECT_TRUE(VirtualKeyToDeviceCode(swapped, 0x41, code));
    EXPECT_EQ(code, 20u);
    EXPECT_TRUE(VirtualKeyToDeviceCode(swapped, 0xA2, code));
    EXPECT_EQ(code, 224u);
    EXPECT_TRUE(VirtualKeyToDeviceCode(us, 0xF0, code));
    EXPECT_EQ(code, 240u);
    // No scan code from the layout: keep the code found by virtual key.
    EXPECT_TRUE(VirtualKeyToDeviceCode(swapped, 0x70, code));
    EXPECT_EQ(code, 58u);
    EXPECT_FALSE(VirtualKeyToDeviceCode(us, 0x5F, code));
    EXPECT_EQ(code, 0u);

    uint32_t vk = 99;
    EXPECT_TRUE(DeviceCodeToVirtualKey(us, 88, vk));
    EXPECT_EQ(vk, 0x6Cu);
    EXPECT_EQ(KeyName(vk), u"Num_ ");
    EXPECT_TRUE(DeviceCodeToVirtualKey(swapped, 20, vk));
    EXPECT_EQ(vk, 0x41u);
    EXPECT_FALSE(DeviceCodeToVirtualKey(us, 50, vk));
    EXPECT_EQ(vk, 0u);
    EXPECT_EQ(DeviceKeyName(us, 243), u"Backward");
}

TEST(KeyCodes, MouseButtonsAreRecordedUnderTheNamesOfTheirDeviceCodes) {
    UsKeyboardLayout us;
    // The platform's first extra button is a mouse's Back button.
    for (const auto& [buttonKey, name] : {std::pair<uint32_t, std::u16string_view>{0x01, u"Left"},
                                          {0x02, u"Right"}, {0x04, u"Wheel"}, {0x05, u"Backward"}, {0x06, u"Forward"}})
        EXPECT_EQ(DeviceKeyName(us, MouseButtonDeviceCode(buttonKey)), name) << buttonKey;
    for (const uint32_t notAButton : {0x00u, 0x03u, 0x07u, 0x41u, 0xF0u}) EXPECT_EQ(MouseButtonDeviceCode(notAButton), 0);
}

TEST(KeyNames, CoverTheNamedRangesOnly) {
    EXPECT_EQ(KeyName(0x2A), u"");
    EXPECT_EQ(KeyName(0xF3), u"Backward");
    EXPECT_EQ(KeyName(0x25), u"Left");
    EXPECT_EQ(KeyName(0xF0), u"Left");
    EXPECT_EQ(KeyName(0x6E), u"Num_.");
    EXPECT_EQ(KeyName(0xDC), u"\\");
    EXPECT_EQ(KeyName(0x7B), u"F12");
    EXPECT_EQ(KeyName(0x07), u"");
    EXPECT_EQ(KeyName(0xF5), u"");
}
