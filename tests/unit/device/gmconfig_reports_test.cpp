// gmconfig reports: the listing of what the Monitor would send, from a folder's store.
#include <gtest/gtest.h>

#include "../gmconfig/gmconfig_harness.h"
#include "device_test_support.h"
#include "download_report.h"

namespace {

class GmconfigReports : public GmconfigHarness {
protected:
    void SetUp() override {
        GmconfigHarness::SetUp();
        std::filesystem::create_directories(dir / "config");
    }
    void Save(const ProfileStore& store) { ASSERT_TRUE(SaveProfileStore(StorePath(), store)); }
};

TEST_F(GmconfigReports, PrintsTheApplyAndTheFullDownload) {
    ProfileStore store;
    auto p = std::make_unique<ProfileRecord>(MonitorDefaultProfile());
    SetMacro(*p, 9, {{0x04, 1, 30}, {0xFF, 0, 20}, {0x04, 2, 2000}});
    store.profiles.push_back(std::make_unique<ProfileRecord>(MonitorDefaultProfile()));
    store.profiles.push_back(std::move(p));
    store.values = {2, 1, 1, 0, 0, 0};
    Save(store);
    const std::string before = ReadBytes(ProfileStorePath(dir.path()));

    ASSERT_EQ(Run({"reports"}), 0) << err;
    EXPECT_EQ(out, FormatDownloadReport(store, false));
    EXPECT_NE(out.find("SetFeature 0F 0A 80 00 00 00 00 66\n"), std::string::npos);
    EXPECT_EQ(out.find("SetFeature 0C"), std::string::npos);  // attributes not flagged
    ASSERT_EQ(Run({"--folder", dir.path().string(), "reports", "--full"}), 0) << err;
    EXPECT_EQ(out, FormatDownloadReport(store, true));
    EXPECT_NE(out.find("SetFeature 0C 01 80 00 00 00 00 72\n"), std::string::npos);
    // Only a reader: the store is untouched and nobody is asked to apply.
    EXPECT_EQ(ReadBytes(ProfileStorePath(dir.path())), before);
    EXPECT_EQ(platform.notified, 0);
}

TEST_F(GmconfigReports, NoCurrentProfile) {
    ASSERT_EQ(Run({"reports"}), 0);
    EXPECT_EQ(out, "");
    ASSERT_EQ(Run({"reports", "--full"}), 0);
    EXPECT_EQ(out, FormatDownloadReport(ProfileStore{}, true));
    EXPECT_NE(out.find("SetFeature 03 01 02"), std::string::npos);
}

TEST_F(GmconfigReports, BadInput) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"reports", "--fast"}, {"reports", "--full", "--full"}, {"reports", "x"}}) {
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(out, "");
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    WriteBytes(ProfileStorePath(dir.path()), "not a store\n");
    EXPECT_EQ(Run({"reports"}), 2);
    EXPECT_NE(err.find("damaged"), std::string::npos);
}

}  // namespace
