#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "hid_framing.h"

using namespace hidio;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

HidCollectionInfo FeatureCollection() {
    return {0x5A21, 0x7C03, 0xFF00, 0x01, 0, 0, 9};
}

HidCollectionInfo ReportCollection() {
    return {0x5A21, 0x7C03, 0xFF00, 0x02, 5, 65, 0};
}

}  // namespace

TEST(HidFraming, FeatureReportIsIdThenTheEightCommandBytes) {
    const auto command = Bytes({0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6});
    EXPECT_EQ(BuildFeatureReport(command), Bytes({0x05, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6}));
}

TEST(HidFraming, OutputReportIsIdThenTheWholeHalfUnchanged) {
    std::array<uint8_t, 64> half{};
    for (size_t i = 0; i < half.size(); ++i) half[i] = static_cast<uint8_t>(0xC0 ^ i);
    const std::vector<uint8_t> report = BuildOutputReport(half);
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[0], 0x06);
    for (size_t i = 0; i < half.size(); ++i) EXPECT_EQ(report[i + 1], half[i]) << "byte " << i;
}

TEST(HidFraming, WrongPayloadLengthsBuildNothing) {
    const std::vector<uint8_t> seven(7), nine(9), sixtyThree(63), sixtyFive(65);
    EXPECT_TRUE(BuildFeatureReport(seven).empty());
    EXPECT_TRUE(BuildFeatureReport(nine).empty());
    EXPECT_TRUE(BuildFeatureReport({}).empty());
    EXPECT_TRUE(BuildOutputReport(sixtyThree).empty());
    EXPECT_TRUE(BuildOutputReport(sixtyFive).empty());
}

TEST(HidFraming, InputReportCarriesLittleEndianCodeAndValue) {
    EXPECT_EQ(ParseInputReport(Bytes({0x07, 0x0A, 0x00, 0x03, 0x00})), (HidDeviceEvent{0x000A, 3}));
    EXPECT_EQ(ParseInputReport(Bytes({0x07, 0x02, 0x07, 0x04, 0x00})), (HidDeviceEvent{0x0702, 4}));
    EXPECT_EQ(ParseInputReport(Bytes({0x07, 0xFF, 0xFF, 0x34, 0x12})), (HidDeviceEvent{0xFFFF, 0x1234}));
    // Padding after the event is not part of it.
    EXPECT_EQ(ParseInputReport(Bytes({0x07, 0xA0, 0x00, 0x01, 0x00, 0xEE, 0xEE, 0xEE})),
              (HidDeviceEvent{0x00A0, 1}));
}

TEST(HidFraming, InputReportsOfOtherIdsOrTooShortAreNoEvents) {
    EXPECT_FALSE(ParseInputReport(Bytes({0x06, 0x0A, 0x00, 0x01, 0x00})));
    EXPECT_FALSE(ParseInputReport(Bytes({0x00, 0x0A, 0x00, 0x01, 0x00})));
    EXPECT_FALSE(ParseInputReport(Bytes({0x07, 0x0A, 0x00, 0x01})));
    EXPECT_FALSE(ParseInputReport({}));
}

TEST(HidFraming, InputReportBuilderAndParserAgree) {
    for (HidDeviceEvent event : {HidDeviceEvent{0x0A, 16}, HidDeviceEvent{0x05FF, 8}, HidDeviceEvent{0, 0}}) {
        const std::vector<uint8_t> report = BuildInputReport(event);
        EXPECT_EQ(report.size(), kInputReportLength);
        EXPECT_EQ(ParseInputReport(report), event);
    }
}

TEST(HidFraming, ClassifiesTheTwoVendorCollectionsOfTheMouse) {
    EXPECT_EQ(ClassifyCollection(FeatureCollection(), 0x5A21, 0x7C03), ChannelKind::kFeature);
    EXPECT_EQ(ClassifyCollection(ReportCollection(), 0x5A21, 0x7C03), ChannelKind::kReport);
    // A firmware that pads its input report is still the report channel.
    HidCollectionInfo padded = ReportCollection();
    padded.inputReportLength = 65;
    EXPECT_EQ(ClassifyCollection(padded, 0x5A21, 0x7C03), ChannelKind::kReport);
}

TEST(HidFraming, RejectsCollectionsThatDifferInAnyIdentifyingField) {
    using Field = uint16_t HidCollectionInfo::*;
    struct Case {
        const char* what;
        HidCollectionInfo base;
        Field field;
        uint16_t value;
    };
    const Case cases[] = {
        {"other vendor", FeatureCollection(), &HidCollectionInfo::vendorId, 0x5A22},
        {"other product", ReportCollection(), &HidCollectionInfo::productId, 0x7C04},
        {"generic desktop page", FeatureCollection(), &HidCollectionInfo::usagePage, 0x0001},
        {"unknown usage", FeatureCollection(), &HidCollectionInfo::usage, 0x03},
        {"feature report without id", FeatureCollection(), &HidCollectionInfo::featureReportLength, 8},
        {"feature report too long", FeatureCollection(), &HidCollectionInfo::featureReportLength, 65},
        {"output report without id", ReportCollection(), &HidCollectionInfo::outputReportLength, 64},
        {"input report too short", ReportCollection(), &HidCollectionInfo::inputReportLength, 4},
        {"report lengths under the feature usage", ReportCollection(), &HidCollectionInfo::usage, 0x01},
    };
    for (const Case& c : cases) {
        HidCollectionInfo info = c.base;
        info.*c.field = c.value;
        EXPECT_EQ(ClassifyCollection(info, 0x5A21, 0x7C03), ChannelKind::kNone) << c.what;
    }
}

TEST(HidFraming, MatchesInterfacePathsOfTheMouseInEveryCommonForm) {
    const uint16_t vid = 0x5A21, pid = 0x7C03;
    EXPECT_TRUE(PathMatchesVidPid(
        L"\\\\?\\hid#vid_5a21&pid_7c03&mi_01&col02#8&2a3b&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}", vid,
        pid));
    EXPECT_TRUE(PathMatchesVidPid(L"\\\\?\\HID#VID_5A21&PID_7C03#7&1F&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}",
                                  vid, pid));
    EXPECT_TRUE(PathMatchesVidPid(
        L"\\\\?\\hid#{00001124-0000-1000-8000-00805f9b34fb}_vid&00025a21_pid&7c03#9&1&0&0000#{...}", vid, pid));
    EXPECT_TRUE(PathMatchesVidPid(
        L"\\\\?\\HID#{00001812-0000-1000-8000-00805F9B34FB}_Dev_VID&025a21_PID&7c03_REV&0001#a&1#{...}", vid, pid));
}

TEST(HidFraming, DoesNotMatchOtherDevicesOrLookalikes) {
    const uint16_t vid = 0x5A21, pid = 0x7C03;
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_046d&pid_c077#7&1&0&0000#{...}", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_5a21&pid_7c04#7&1&0&0000#{...}", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_7c03&pid_5a21#7&1&0&0000#{...}", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_5a210&pid_7c03#7&1&0&0000#{...}", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_5a21#7&1&0&0000", vid, pid));
    // The ids inside some other word of the path are no match.
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#xvid_5a21&apid_7c03#7&1&0&0000", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"\\\\?\\hid#vid_5a2", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"VID_", vid, pid));
    EXPECT_FALSE(PathMatchesVidPid(L"", vid, pid));
}
