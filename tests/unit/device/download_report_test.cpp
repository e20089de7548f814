// The printed listing of a download.
#include <gtest/gtest.h>

#include "device_test_support.h"
#include "download_report.h"

namespace {

ProfileStore OneProfile(int flags) {
    ProfileStore store;
    store.profiles.push_back(std::make_unique<ProfileRecord>(MonitorDefaultProfile()));
    store.values = {1, 0, flags, flags, flags, flags};
    return store;
}

TEST(DownloadReportTest, LineFormat) {
    const auto start = StartCommand();
    EXPECT_EQ(SetFeatureLine(start), "SetFeature 01 08 00 00 00 00 00 F6");
    EXPECT_EQ(SleepLine(20), "Sleep 20");
    EXPECT_EQ(HexBytes(Bytes({0x00, 0xAB, 0x0F})), "00 AB 0F");
    EXPECT_EQ(HexBytes({}), "");
    const ReportHalf half{};
    EXPECT_EQ(WriteUsbLine(half).size(), std::string("WriteUSB ").size() + 64 * 3 - 1);
}

TEST(DownloadReportTest, ApplyAndFullListings) {
    EXPECT_EQ(FormatDownloadReport(OneProfile(0), false),
              "SetFeature 01 08 00 00 00 00 00 F6\nSleep 20\nSleep 20\nSetFeature 02 01 00 00 00 00 00 FC\n");
    const auto full = DownloadReportLines(OneProfile(0), true);
    ASSERT_EQ(full.size(), 10u + 12u);  // 6 commands + 4 halves, 12 waits
    EXPECT_EQ(full[2], "SetFeature 03 01 02 00 00 00 00 F9");
    EXPECT_EQ(std::count(full.begin(), full.end(), "Sleep 20"), 12);
    EXPECT_EQ(DownloadReportLines(OneProfile(1), false), full);
}

TEST(DownloadReportTest, WithoutCurrentProfile) {
    ProfileStore empty;
    EXPECT_EQ(FormatDownloadReport(empty, false), "");
    // A full download sends the Monitor's reset values: same as a store holding them.
    EXPECT_EQ(DownloadReportLines(empty, true), DownloadReportLines(OneProfile(0), true));
    ProfileStore pastEnd = OneProfile(1);
    pastEnd.values.ProfileID = 3;
    EXPECT_EQ(FormatDownloadReport(pastEnd, false), "");
}

}  // namespace
