// Enumeration through setupapi and hid.dll, checked against the HID pointer
// device that Wine itself provides (vendor 0x845E, product 0x0001).
#include <gtest/gtest.h>

#include "win32_hid_backend.h"

using namespace hidio;

TEST(HidBackend, ReadsIdsUsageAndReportLengthsOfThePresentInterfaces) {
    Win32HidBackend backend;
    const std::vector<HidInterface> interfaces = backend.EnumerateInterfaces();
    const HidInterface* pointer = nullptr;
    for (const HidInterface& iface : interfaces) {
        if (iface.info.vendorId == 0x845E && iface.info.productId == 0x0001) pointer = &iface;
    }
    if (pointer == nullptr) GTEST_SKIP() << "this Wine provides no HID pointer device";
    EXPECT_EQ(pointer->info.usagePage, 0x0001);  // generic desktop
    EXPECT_EQ(pointer->info.usage, 0x0002);      // mouse
    EXPECT_GT(pointer->info.inputReportLength, 0);
    EXPECT_TRUE(PathMatchesVidPid(pointer->path, 0x845E, 0x0001)) << "the path names the ids HidD_GetAttributes gave";
    EXPECT_EQ(ClassifyCollection(pointer->info, 0x845E, 0x0001), ChannelKind::kNone) << "a pointer is no channel";
    // Not a channel of ours, so nothing of it is opened.
    for (const HidInterface& iface : interfaces) {
        EXPECT_EQ(ClassifyCollection(iface.info, 0x5A21, 0x7C03), ChannelKind::kNone);
    }
}
