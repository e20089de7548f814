#pragma once
// The keyboard layout as the key-code conversions need it: virtual key to scan
// code and back, under the user's current layout. Windows asks MapVirtualKeyW;
// elsewhere a fixed US layout stands in.
#include <cstdint>

class IKeyboardLayout {
public:
    virtual ~IKeyboardLayout() = default;
    // Scan code (set 1) of a virtual key; 0 when the layout has none.
    virtual uint32_t VirtualKeyToScanCode(uint32_t virtualKey) const = 0;
    // Virtual key of a scan code, telling left and right keys apart; 0 when none.
    virtual uint32_t ScanCodeToVirtualKey(uint32_t scanCode) const = 0;
};

// The US layout, from the key-code table itself.
class UsKeyboardLayout final : public IKeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t virtualKey) const override;
    uint32_t ScanCodeToVirtualKey(uint32_t scanCode) const override;
};

// The layout the running program should use: the platform's current layout on
// Windows, the US layout elsewhere.
const IKeyboardLayout& SystemKeyboardLayout();
