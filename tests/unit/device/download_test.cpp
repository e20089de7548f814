// The download order and waits, the part flags, and the worker's job rules.
#include <gtest/gtest.h>

#include "button_table.h"
#include "device_test_support.h"
#include "download_job.h"
#include "download_sequence.h"

namespace {

class FakeHost final : public IWorkerHost {
public:
    bool PostApplyDone() override {
        ++applyDonePosts;
        return optionWindowExists;
    }
    void DebugText(const char* text) override { debug.push_back(text); }
    bool optionWindowExists = true;
    int applyDonePosts = 0;
    std::vector<std::string> debug;
};

ProfileStore StoreWith(const ProfileRecord& p, int keys, int attr, int step, int rate) {
    ProfileStore store;
    store.profiles.push_back(std::make_unique<ProfileRecord>(p));
    store.values.number = 1;
    store.values.ProfileID = 0;
    store.values.KeysFlag = keys;
    store.values.AttributeFlag = attr;
    store.values.DPIStepFlag = step;
    store.values.PRateFlag = rate;
    return store;
}

void Download(RecordingDevice& dev, const ProfileRecord& p, const PartFlags& parts) {
    ButtonTable scratch;
    RunDownload(dev, dev, p, parts, scratch);
}

TEST(DownloadSequenceTest, FullDownloadOrderAndWaits) {
    RecordingDevice dev;
    Download(dev, MonitorDefaultProfile(), PartFlags::All());
    EXPECT_EQ(dev.Shape(), "F01 S F03 S F04 S F0C S W S W S S F0D S W S W S S S F02");
    EXPECT_EQ(dev.clock, 240);
    EXPECT_EQ(dev.clock, MandatedWaitMs(PartFlags::All(), 0));
    EXPECT_EQ(dev.ops[2].bytes, Bytes({0x03, 0x01, 0x02, 0, 0, 0, 0, 0xF9}));
    EXPECT_EQ(dev.ops[4].bytes, Bytes({0x04, 0x01, 0x03, 0, 0, 0, 0, 0xF7}));
}

TEST(DownloadSequenceTest, EachMacroAddsOneBlockTransfer) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 3, {{0x04, 1, 0}});
    SetMacro(p, 9, {{0x05, 1, 0}});
    RecordingDevice dev;
    Download(dev, p, PartFlags::All());
    EXPECT_EQ(dev.CommandCodes(), (std::vector<int>{0x01, 0x03, 0x04, 0x0C, 0x0D, 0x0F04, 0x0F0A, 0x02}));
    EXPECT_EQ(dev.clock, 240 + 2 * 60);
    EXPECT_EQ(dev.clock, MandatedWaitMs(PartFlags::All(), 2));
    // No wait between the two macro transfers beyond their own.
    EXPECT_NE(dev.Shape().find("F0F S W S W S F0F S W S W S S F02"), std::string::npos) << dev.Shape();
}

TEST(DownloadSequenceTest, ChangedPartsFollowTheFlags) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 3, {{0x04, 1, 0}});
    SetMacro(p, 9, {{0x05, 1, 0}});
    struct Case {
        int keys, attr, step, rate;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {0, 0, 0, 0, {0x01, 0x02}},
        {-1, -1, -1, -1, {0x01, 0x02}},  // a Config section without the flag keys
        {2, 2, 2, 2, {0x01, 0x02}},      // only 1 means changed
        {0, 0, 0, 1, {0x01, 0x03, 0x02}},
        {0, 0, 1, 0, {0x01, 0x04, 0x02}},
        {0, 1, 0, 0, {0x01, 0x0C, 0x02}},
        {1, 0, 0, 0, {0x01, 0x0D, 0x0F04, 0x0F0A, 0x02}},
        {1, 1, 1, 1, {0x01, 0x03, 0x04, 0x0C, 0x0D, 0x0F04, 0x0F0A, 0x02}},
    };
    for (const Case& c : cases) {
        const ProfileStore store = StoreWith(p, c.keys, c.attr, c.step, c.rate);
        const auto job = MakeDownloadJob(store, DownloadKind::kChangedParts);
        ASSERT_TRUE(job);
        RecordingDevice dev;
        Download(dev, job->profile, job->parts);
        EXPECT_EQ(dev.CommandCodes(), c.codes) << c.keys << c.attr << c.step << c.rate;
        EXPECT_EQ(dev.clock, MandatedWaitMs(job->parts, c.keys == 1 ? 2 : 0));
    }
    RecordingDevice dev;
    Download(dev, p, {});
    EXPECT_EQ(dev.Shape(), "F01 S S F02");
}

TEST(DownloadSequenceTest, HalvesCarryTheBlockAndNothingElse) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 0, {{0x04, 1, 30}, {0xFF, 0, 20}, {0x04, 2, 2000}});
    RecordingDevice dev;
    Download(dev, p, {false, false, false, true});
    std::vector<std::vector<uint8_t>> writes;
    for (const auto& op : dev.ops)
        if (op.kind == RecordingDevice::Op::Kind::kWrite) writes.push_back(op.bytes);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(Slice(writes[0], 0, 8), Bytes({0x09, 0x00, 0x01, 0x00, 0x01, 0x00, 0xF1, 0x00}));
    EXPECT_EQ(writes[1], std::vector<uint8_t>(64, 0));
    EXPECT_EQ(Slice(writes[2], 0, 9), Bytes({0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x28, 0x02, 0x00}));
    EXPECT_EQ(writes[3], std::vector<uint8_t>(64, 0));
}

TEST(DownloadJobTest, JobsCarryAPrivateCopy) {
    ProfileStore store = StoreWith(MonitorDefaultProfile(), 1, 0, 0, 1);
    const auto job = MakeDownloadJob(store, DownloadKind::kChangedParts, 77);
    ASSERT_TRUE(job);
    // The main thread frees and rebuilds its list on the next apply.
    store.profiles[0]->PollingRate = 8;
    FreeProfiles(store);
    EXPECT_EQ(job->profile.PollingRate, 2);
    EXPECT_EQ(job->parts, (PartFlags{true, false, false, true}));
    EXPECT_EQ(job->lParam, 77);
}

TEST(DownloadJobTest, NoCurrentProfile) {
    ProfileStore empty;
    EXPECT_FALSE(MakeDownloadJob(empty, DownloadKind::kChangedParts));
    const auto full = MakeDownloadJob(empty, DownloadKind::kEverything);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->parts, PartFlags::All());
    const ProfileRecord defaults = MonitorDefaultProfile();
    EXPECT_EQ(std::memcmp(&full->profile, &defaults, sizeof(ProfileRecord)), 0);

    ProfileStore pastEnd = StoreWith(MonitorDefaultProfile(), 1, 1, 1, 1);
    pastEnd.values.ProfileID = 1;
    EXPECT_FALSE(MakeDownloadJob(pastEnd, DownloadKind::kChangedParts));
    pastEnd.values.ProfileID = -1;
    EXPECT_FALSE(MakeDownloadJob(pastEnd, DownloadKind::kChangedParts));
}

TEST(DownloadJobTest, WorkerRules) {
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 3, {{0x04, 1, 0}});
    const ProfileStore store = StoreWith(p, 1, 0, 0, 0);
    const auto apply = MakeDownloadJob(store, DownloadKind::kChangedParts);
    const auto full = MakeDownloadJob(store, DownloadKind::kEverything);
    ButtonTable scratch;

    // Dropped unless connected: nothing sent, nobody answered.
    for (DeviceState state : {DeviceState::kNotPresent, DeviceState::kRemoved}) {
        RecordingDevice dev;
        FakeHost host;
        EXPECT_EQ(RunDownloadJob(*apply, state, dev, dev, host, scratch), JobOutcome::kDropped);
        EXPECT_TRUE(dev.ops.empty());
        EXPECT_EQ(host.applyDonePosts, 0);
        EXPECT_EQ(dev.preciseBegins, 0);
    }

    RecordingDevice dev;
    FakeHost host;
    EXPECT_EQ(RunDownloadJob(*apply, DeviceState::kConnected, dev, dev, host, scratch), JobOutcome::kDownloaded);
    EXPECT_EQ(host.applyDonePosts, 1);
    EXPECT_EQ(host.debug, std::vector<std::string>{kDebugApplyDoneByWorker});
    EXPECT_EQ(dev.preciseBegins, 1);
    EXPECT_EQ(dev.preciseDepth, 0);

    // A full download tells nobody; Option missing is written down.
    EXPECT_EQ(RunDownloadJob(*full, DeviceState::kConnected, dev, dev, host, scratch), JobOutcome::kDownloaded);
    EXPECT_EQ(host.applyDonePosts, 1);
    host.optionWindowExists = false;
    RunDownloadJob(*apply, DeviceState::kConnected, dev, dev, host, scratch);
    EXPECT_EQ(host.debug.back(), kDebugOptionNotFound);
}

TEST(DownloadJobTest, TwoJobsInARowDoNotShareMacroBlocks) {
    ProfileRecord withMacro = MonitorDefaultProfile();
    SetMacro(withMacro, 3, {{0x04, 1, 0}});
    const ProfileRecord without = MonitorDefaultProfile();
    const auto first = MakeDownloadJob(StoreWith(withMacro, 1, 0, 0, 0), DownloadKind::kChangedParts);
    const auto second = MakeDownloadJob(StoreWith(without, 1, 0, 0, 0), DownloadKind::kChangedParts);
    const auto third = MakeDownloadJob(StoreWith(withMacro, 0, 1, 0, 0), DownloadKind::kChangedParts);
    RecordingDevice dev;
    FakeHost host;
    ButtonTable scratch;  // one store for the worker's whole life, as on the thread
    RunDownloadJob(*first, DeviceState::kConnected, dev, dev, host, scratch);
    RunDownloadJob(*second, DeviceState::kConnected, dev, dev, host, scratch);
    RunDownloadJob(*third, DeviceState::kConnected, dev, dev, host, scratch);
    EXPECT_EQ(dev.CommandCodes(), (std::vector<int>{0x01, 0x0D, 0x0F04, 0x02, 0x01, 0x0D, 0x02, 0x01, 0x0C, 0x02}));
    EXPECT_EQ(scratch.macros.PendingCount(), 0);
    EXPECT_EQ(host.applyDonePosts, 3);
}

}  // namespace
