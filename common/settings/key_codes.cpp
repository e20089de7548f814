#include "key_codes.h"

namespace {

constexpr std::array<KeyCodeRow, kKeyCodeRows> kTable = {{
    // Letters A-Z: device codes 4-29.
    {0x41, 4, 0x1E}, {0x42, 5, 0x30}, {0x43, 6, 0x2E}, {0x44, 7, 0x20}, {0x45, 8, 0x12},
    {0x46, 9, 0x21}, {0x47, 10, 0x22}, {0x48, 11, 0x23}, {0x49, 12, 0x17}, {0x4A, 13, 0x24},
    {0x4B, 14, 0x25}, {0x4C, 15, 0x26}, {0x4D, 16, 0x32}, {0x4E, 17, 0x31}, {0x4F, 18, 0x18},
    {0x50, 19, 0x19}, {0x51, 20, 0x10}, {0x52, 21, 0x13}, {0x53, 22, 0x1F}, {0x54, 23, 0x14},
    {0x55, 24, 0x16}, {0x56, 25, 0x2F}, {0x57, 26, 0x11}, {0x58, 27, 0x2D}, {0x59, 28, 0x15},
    {0x5A, 29, 0x2C},
    // Digits 1-9, then 0: device codes 30-39.
    {0x31, 30, 0x02}, {0x32, 31, 0x03}, {0x33, 32, 0x04}, {0x34, 33, 0x05}, {0x35, 34, 0x06},
    {0x36, 35, 0x07}, {0x37, 36, 0x08}, {0x38, 37, 0x09}, {0x39, 38, 0x0A}, {0x30, 39, 0x0B},
    {0x0D, 40, 0x1C}, {0x1B, 41, 0x01}, {0x08, 42, 0x0E}, {0x09, 43, 0x0F}, {0x20, 44, 0x39},
    {0xBD, 45, 0x0C}, {0xBB, 46, 0x0D}, {0xDB, 47, 0x1A}, {0xDD, 48, 0x1B}, {0xDC, 49, 0x2B},
    {0xBA, 51, 0x27}, {0xDE, 52, 0x28}, {0xC0, 53, 0x29}, {0xBC, 54, 0x33}, {0xBE, 55, 0x34},
    {0xBF, 56, 0x35}, {0x14, 57, 0x3A},
    {0x70, 58, 0x3B}, {0x71, 59, 0x3C}, {0x72, 60, 0x3D}, {0x73, 61, 0x3E}, {0x74, 62, 0x3F},
    {0x75, 63, 0x40}, {0x76, 64, 0x41}, {0x77, 65, 0x42}, {0x78, 66, 0x43}, {0x79, 67, 0x44},
    {0x7A, 68, 0x57}, {0x7B, 69, 0x58},
    {0x2C, 70, 0}, {0x91, 71, 0}, {0x13, 72, 0}, {0x2D, 73, 0}, {0x24, 74, 0}, {0x21, 75, 0},
    {0x2E, 76, 0}, {0x23, 77, 0}, {0x22, 78, 0}, {0x27, 79, 0}, {0x25, 80, 0}, {0x28, 81, 0},
    {0x26, 82, 0}, {0x90, 83, 0}, {0x6F, 84, 0}, {0x6A, 85, 0}, {0x6D, 86, 0}, {0x6B, 87, 0},
    {0x6C, 88, 0}, {0x61, 89, 0}, {0x62, 90, 0}, {0x63, 91, 0}, {0x64, 92, 0}, {0x65, 93, 0},
    {0x67, 95, 0}, {0x66, 94, 0}, {0x68, 96, 0}, {0x69, 97, 0}, {0x60, 98, 0}, {0x6E, 99, 0},
    {0x5D, 101, 0},
    {0xA2, 224, 0}, {0xA0, 225, 0}, {0xA4, 226, 0}, {0x5B, 227, 0}, {0xA3, 228, 0},
    {0xA1, 229, 0}, {0xA5, 230, 0}, {0x5C, 231, 0},
    {0xF0, mouse_key::kLeft, 0}, {0xF1, mouse_key::kRight, 0}, {0xF2, mouse_key::kWheel, 0},
    {0xF4, mouse_key::kForward, 0}, {0xF3, mouse_key::kBackward, 0},
}};

constexpr bool EveryRowFilled() {
    for (const auto& row : kTable)
        if (row.virtualKey == 0 || row.deviceCode == 0) return false;
    return true;
}
static_assert(EveryRowFilled(), "the key-code table must have all its rows");

bool IsLayoutDependent(uint32_t deviceCode) { return deviceCode >= 4 && deviceCode <= 69; }

const KeyCodeRow* FindByVirtualKey(uint32_t vk) {
    for (const auto& row : kTable)
        if (row.virtualKey == vk) return &row;
    return nullptr;
}
const KeyCodeRow* FindByDeviceCode(uint32_t code) {
    for (const auto& row : kTable)
        if (row.deviceCode == code) return &row;
    return nullptr;
}
const KeyCodeRow* FindByScanCode(uint32_t scan) {
    for (const auto& row : kTable)
        if (row.scanCode == scan) return &row;
    return nullptr;
}

}  // namespace

const std::array<KeyCodeRow, kKeyCodeRows>& KeyCodeTable() { return kTable; }

uint32_t UsKeyboardLayout::VirtualKeyToScanCode(uint32_t virtualKey) const {
    const KeyCodeRow* row = FindByVirtualKey(virtualKey);
    return row ? row->scanCode : 0;
}

uint32_t UsKeyboardLayout::ScanCodeToVirtualKey(uint32_t scanCode) const {
    if (scanCode == 0) return 0;
    const KeyCodeRow* row = FindByScanCode(scanCode);
    return row ? row->virtualKey : 0;
}

bool VirtualKeyToDeviceCode(const IKeyboardLayout& layout, uint32_t virtualKey, uint32_t& deviceCode) {
    deviceCode = 0;
    const KeyCodeRow* row = FindByVirtualKey(virtualKey);
    if (!row) return false;
    deviceCode = row->deviceCode;
    if (IsLayoutDependent(deviceCode)) {
        // Record the key by its position. A layout that gives no scan code would
        // otherwise match the first row without one (Print Screen); keep the
        // code found by virtual key instead.
        const uint32_t scan = layout.VirtualKeyToScanCode(virtualKey);
        if (scan != 0) {
            if (const KeyCodeRow* byScan = FindByScanCode(scan)) deviceCode = byScan->deviceCode;
        }
    }
    return true;
}

bool DeviceCodeToVirtualKey(const IKeyboardLayout& layout, uint32_t deviceCode, uint32_t& virtualKey) {
    virtualKey = 0;
    const KeyCodeRow* row = FindByDeviceCode(deviceCode);
    if (!row) return false;
    if (IsLayoutDependent(deviceCode)) {
        virtualKey = layout.ScanCodeToVirtualKey(row->scanCode);
        return true;
    }
    virtualKey = row->virtualKey;
    return true;
}

std::u16string_view KeyName(uint32_t vk) {
    static constexpr std::u16string_view kDigits[] = {u"0", u"1", u"2", u"3", u"4",
                                                      u"5", u"6", u"7", u"8", u"9"};
    static constexpr std::u16string_view kLetters[] = {
        u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J", u"K", u"L", u"M",
        u"N", u"O", u"P", u"Q", u"R", u"S", u"T", u"U", u"V", u"W", u"X", u"Y", u"Z"};
    static constexpr std::u16string_view kNumpad[] = {u"Num_0", u"Num_1", u"Num_2", u"Num_3", u"Num_4",
                                                      u"Num_5", u"Num_6", u"Num_7", u"Num_8", u"Num_9",
                                                      u"Num_*", u"Num_+", u"Num_ ", u"Num_-", u"Num_.",
                                                      u"Num_/"};
    static constexpr std::u16string_view kFunction[] = {u"F1", u"F2", u"F3", u"F4",  u"F5",  u"F6",
                                                        u"F7", u"F8", u"F9", u"F10", u"F11", u"F12"};
    static constexpr std::u16string_view kNavigation[] = {u"Page UP", u"Page Down", u"End",   u"Home",
                                                          u"Left",    u"Up",        u"Right", u"Down"};
    static constexpr std::u16string_view kModifiers[] = {u"Left Shift", u"Right Shift", u"Left Ctrl",
                                                         u"Right Ctrl", u"Left Alt",    u"Right Alt"};
    static constexpr std::u16string_view kPunctuation1[] = {u";", u"=", u",", u"-", u".", u"/", u"`"};
    static constexpr std::u16string_view kPunctuation2[] = {u"[", u"\\", u"]", u"'"};
    static constexpr std::u16string_view kMouse[] = {u"Left", u"Right", u"Wheel", u"Backward", u"Forward"};

    switch (vk) {
        case 0x08: return u"BackSpace";
        case 0x09: return u"Tab";
        case 0x0D: return u"Enter";
        case 0x13: return u"Pause";
        case 0x14: return u"CapsLock";
        case 0x1B: return u"Esc";
        case 0x20: return u"Space";
        case 0x29: return u"Select";
        case 0x2B: return u"Execute";
        case 0x2C: return u"Print Screen";
        case 0x2D: return u"Insert";
        case 0x2E: return u"Delete";
        case 0x2F: return u"Help";
        case 0x5B: return u"L_WIN";
        case 0x5C: return u"R_WIN";
        case 0x5D: return u"APP";
        case 0x90: return u"Number Lock";
        case 0x91: return u"Scroll Lock";
        default: break;
    }
    if (vk >= 0x21 && vk <= 0x28) return kNavigation[vk - 0x21];
    if (vk >= 0x30 && vk <= 0x39) return kDigits[vk - 0x30];
    if (vk >= 0x41 && vk <= 0x5A) return kLetters[vk - 0x41];
    if (vk >= 0x60 && vk <= 0x6F) return kNumpad[vk - 0x60];
    if (vk >= 0x70 && vk <= 0x7B) return kFunction[vk - 0x70];
    if (vk >= 0xA0 && vk <= 0xA5) return kModifiers[vk - 0xA0];
    if (vk >= 0xBA && vk <= 0xC0) return kPunctuation1[vk - 0xBA];
    if (vk >= 0xDB && vk <= 0xDE) return kPunctuation2[vk - 0xDB];
    if (vk >= 0xF0 && vk <= 0xF4) return kMouse[vk - 0xF0];
    return {};
}

std::u16string_view DeviceKeyName(const IKeyboardLayout& layout, uint32_t deviceCode) {
    uint32_t vk = 0;
    if (!DeviceCodeToVirtualKey(layout, deviceCode, vk)) return {};
    return KeyName(vk);
}

uint8_t MouseButtonDeviceCode(uint32_t buttonVirtualKey) {
    switch (buttonVirtualKey) {
        case 0x01: return mouse_key::kLeft;
        case 0x02: return mouse_key::kRight;
        case 0x04: return mouse_key::kWheel;
        case 0x05: return mouse_key::kBackward;
        case 0x06: return mouse_key::kForward;
        default: return 0;
    }
}
