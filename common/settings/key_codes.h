#pragma once
// The three forms of a key: the platform's virtual-key code, the device key code
// (a USB HID keyboard usage, plus 240-244 for the mouse buttons) and the name the
// user sees. Conversions go through the keyboard layout, so a key is recorded by
// its position on the keyboard.
#include <array>
#include <cstdint>
#include <string_view>

#include "keyboard_layout.h"

// The device key codes of the mouse buttons, as macros and the button table
// store them.
namespace mouse_key {
inline constexpr uint8_t kLeft = 240;
inline constexpr uint8_t kRight = 241;
inline constexpr uint8_t kWheel = 242;
inline constexpr uint8_t kBackward = 243;
inline constexpr uint8_t kForward = 244;
inline constexpr bool IsMouseButton(uint32_t deviceCode) { return deviceCode >= kLeft && deviceCode <= kForward; }
}  // namespace mouse_key

struct KeyCodeRow {
    uint32_t virtualKey;
    uint32_t deviceCode;
    uint32_t scanCode;  // set 1; 0 = none
};
inline constexpr int kKeyCodeRows = 109;
const std::array<KeyCodeRow, kKeyCodeRows>& KeyCodeTable();

bool VirtualKeyToDeviceCode(const IKeyboardLayout& layout, uint32_t virtualKey, uint32_t& deviceCode);
bool DeviceCodeToVirtualKey(const IKeyboardLayout& layout, uint32_t deviceCode, uint32_t& virtualKey);
// Fixed English names; empty for keys without one.
std::u16string_view KeyName(uint32_t virtualKey);
// The name of a stored device key code (converted through the layout first).
std::u16string_view DeviceKeyName(const IKeyboardLayout& layout, uint32_t deviceCode);
// The device key code of a mouse button, given as the platform's virtual key of
// the button (1 left, 2 right, 4 middle, 5 and 6 the first and second extra
// button); 0 for anything else. The first extra button is a mouse's Back
// button, the device's "Backward"; the second is "Forward".
uint8_t MouseButtonDeviceCode(uint32_t buttonVirtualKey);
