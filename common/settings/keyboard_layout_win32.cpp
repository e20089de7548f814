#include <windows.h>

#include "keyboard_layout.h"

namespace {

// The user's current layout, asked afresh each time so a layout switch counts.
class Win32KeyboardLayout final : public IKeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t virtualKey) const override {
        return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    }
    uint32_t ScanCodeToVirtualKey(uint32_t scanCode) const override {
        return MapVirtualKeyW(scanCode, MAPVK_VSC_TO_VK_EX);
    }
};

}  // namespace

const IKeyboardLayout& SystemKeyboardLayout() {
    static const Win32KeyboardLayout layout;
    return layout;
}
