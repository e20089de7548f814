// gmconfig reports: the listing of what the Monitor would send, from a folder's store.
#include <gtest/gtest.h>

#include "../gmconfig/gmconfig_harness.h"
#include "device_test_support.h"
#include "download_report.h"
#include "mouse_emulator.h"
#include "sim_state_file.h"

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

// The mouse after taking the listed full download of `store`'s current profile,
// played from the listing's text as the virtual mouse's trace would carry it.
MouseSlot AfterFullDownload(const ProfileStore& store, const MouseSlot& before) {
    MouseEmulator mouse(before);
    for (const std::string& line : DownloadReportLines(store, true)) {
        std::vector<uint8_t> bytes;
        for (size_t at = line.find(' '); at != std::string::npos && at + 2 < line.size() + 1; at = line.find(' ', at + 1))
            bytes.push_back(static_cast<uint8_t>(std::stoi(line.substr(at + 1, 2), nullptr, 16)));
        if (line.starts_with("SetFeature")) mouse.OnSetFeature(bytes.data(), static_cast<int>(bytes.size()));
        if (line.starts_with("WriteUSB")) mouse.OnWriteUSB(bytes.data(), static_cast<int>(bytes.size()));
    }
    EXPECT_EQ(mouse.ProtocolErrors(), 0) << mouse.LastError();
    return mouse.Slot();
}

TEST_F(GmconfigReports, SlotCheckHoldsTheMouseAgainstTheCurrentProfile) {
    ProfileStore store;
    auto withMacro = std::make_unique<ProfileRecord>(MonitorDefaultProfile());
    SetMacro(*withMacro, 4, {{0x04, 1, 30}, {0x04, 2, 40}});
    store.profiles.push_back(std::move(withMacro));
    store.profiles.push_back(std::make_unique<ProfileRecord>(MonitorDefaultProfile()));
    store.values.ProfileID = 0;
    Save(store);
    const auto state = dir / "devio-state.ini";
    MouseSlot slot = AfterFullDownload(store, MouseSlot::Factory());
    ASSERT_TRUE(WriteSimStateFile(state, slot, {}));
    EXPECT_EQ(Run({"slot-check"}), 0) << out << err;
    EXPECT_EQ(out, "");

    // The second profile sends no macro: the block the mouse kept from the first is its own.
    store.values.ProfileID = 1;
    Save(store);
    EXPECT_EQ(Run({"slot-check"}), 3);
    EXPECT_NE(out.find("buttons: byte "), std::string::npos) << out;
    slot = AfterFullDownload(store, slot);
    ASSERT_TRUE(WriteSimStateFile(state, slot, {}));
    EXPECT_EQ(Run({"slot-check", state.string()}), 0) << out << err;

    // Each part that differs is named on a line of its own.
    store.profiles[1]->CpiStep = 0;
    store.profiles[1]->PollingRate = 8;
    store.profiles[1]->CpiLevel_X[0] = 30;
    Save(store);
    EXPECT_EQ(Run({"slot-check"}), 3);
    EXPECT_NE(out.find("polling rate: mouse 2, profile 8\n"), std::string::npos) << out;
    EXPECT_NE(out.find("active level: mouse 3, profile 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("attributes: byte "), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;

    // A changed macro step is a difference too.
    store.values.ProfileID = 0;
    SetMacro(*store.profiles[0], 4, {{0x04, 1, 30}, {0x05, 2, 40}});
    Save(store);
    EXPECT_EQ(Run({"slot-check"}), 3);
    EXPECT_NE(out.find("macro "), std::string::npos) << out;

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"slot-check", (dir / "missing.ini").string()}, {"slot-check", "a", "b"}}) {
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
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
