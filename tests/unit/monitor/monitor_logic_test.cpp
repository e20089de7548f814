#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app_messages.h"
#include "download_job.h"
#include "monitor_logic.h"
#include "shared_lock.h"
#include "../../support/counting_lock.h"
#include "../../support/temp_folder.h"
#include "../../support/monitor_port_doubles.h"

namespace fs = std::filesystem;

namespace {

// A lock whose previous holder died: every wait fails (and leaves it free).
class AbandonedLock : public ISharedLock {
public:
    int waits = 0;
    bool Acquire() override {
        ++waits;
        return false;
    }
    void Release() override { ADD_FAILURE() << "released a lock that was not held"; }
};

class MonitorLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.path();
        fs::create_directories(folder_ / "config");
        file_ = ProfileStorePath(folder_);
    }

    // Writes a store of `count` profiles, current `current`, flags as given.
    void WriteStore(int count, int current, int flags = 1) {
        ProfileStore store;
        for (int i = 0; i < count; ++i) {
            auto p = std::make_unique<ProfileRecord>();
            InitNewProfile(*p, u"P" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
            p->MouseSpeed = 4 + i;
            p->CpiStep = i % 5;
            store.profiles.push_back(std::move(p));
        }
        store.values.ProfileID = current;
        store.values.KeysFlag = store.values.AttributeFlag = store.values.DPIStepFlag = store.values.PRateFlag =
            flags;
        ASSERT_TRUE(SaveProfileStore(file_, store));
    }

    ProfileStore ReadStore() {
        ProfileStore store;
        LoadProfileStore(file_, store);
        return store;
    }

    std::string FileBytes() {
        std::ifstream in(file_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempFolder temp_;
    fs::path folder_;
    fs::path file_;
    RecordingHost host_;
    CountingSystem system_;
};

}  // namespace

TEST_F(MonitorLogicTest, ApplyWithMouseQueuesChangedPartsOfReloadedProfile) {
    WriteStore(3, 1, 0);
    CountingLock lock;
    MonitorLogic logic(file_, host_, system_);
    logic.SetStoreLock(&lock);
    logic.LoadAtStartup();

    // Option changes the store after start-up; the apply must see the new file.
    ProfileStore changed = ReadStore();
    changed.profiles[1]->PollingRate = 8;
    changed.values.PRateFlag = 1;
    ASSERT_TRUE(SaveProfileStore(file_, changed));

    logic.OnApplyAllSetting(true, 77);

    ASSERT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(host_.jobs[0]->kind, DownloadKind::kChangedParts);
    EXPECT_EQ(host_.jobs[0]->profile.PollingRate, 8);
    EXPECT_EQ(FieldText(host_.jobs[0]->profile.ProFileName), u"P1");
    EXPECT_EQ(host_.jobs[0]->parts, (PartFlags{true, false, false, false}));
    EXPECT_EQ(host_.jobs[0]->lParam, 77);
    EXPECT_TRUE(host_.optionMessages.empty());  // the worker answers after the download
    EXPECT_EQ(lock.acquired, 1);
    EXPECT_EQ(lock.held, 0);
    EXPECT_EQ(system_.speeds, std::vector<int>{5});
    // The download went out on the current record alone; the others are read
    // whole before the apply returns.
    ASSERT_EQ(logic.store().profiles.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(SameRecord(*logic.store().profiles[i], *changed.profiles[i])) << i;
}

TEST_F(MonitorLogicTest, ApplyAnswersAtOnceWhenNothingCanBeSent) {
    WriteStore(1, 0);
    MonitorLogic logic(file_, host_, system_);

    logic.OnApplyAllSetting(false, 0);  // mouse absent
    EXPECT_TRUE(host_.jobs.empty());
    EXPECT_EQ(host_.optionMessages, std::vector<unsigned>{WM_APPLY_DONE});
    EXPECT_TRUE(host_.Said(L"OnApplyAllSetting  Send Enable OK/Apply Button\n"));
    EXPECT_EQ(system_.speeds.size(), 1u);  // pointer settings apply whether the mouse is there or not

    host_.queueAccepts = false;  // the worker's queue refused the job
    logic.OnApplyAllSetting(true, 0);
    EXPECT_EQ(host_.optionMessages.size(), 2u);

    host_.optionWindow = false;
    logic.OnApplyAllSetting(false, 0);
    EXPECT_TRUE(host_.Said(L"OnApplyAllSetting Don't find Tarn Option Dialog\n"));
}

TEST_F(MonitorLogicTest, ApplyWithoutCurrentProfileNeverDownloads) {
    for (int id : {-1, 3, 99}) {
        host_ = RecordingHost{};
        system_ = CountingSystem{};
        WriteStore(2, id);
        MonitorLogic logic(file_, host_, system_);
        logic.OnApplyAllSetting(true, 0);
        EXPECT_TRUE(host_.jobs.empty()) << id;
        EXPECT_EQ(host_.optionMessages, std::vector<unsigned>{WM_APPLY_DONE}) << id;
        EXPECT_EQ(system_.parameterCalls, 0) << id;  // system pointer left alone
    }
    fs::remove(file_);  // an empty store: no file at all
    host_ = RecordingHost{};
    MonitorLogic logic(file_, host_, system_);
    logic.OnApplyAllSetting(true, 0);
    EXPECT_TRUE(host_.jobs.empty());
    EXPECT_FALSE(fs::exists(file_));  // nothing is written for an empty store
}

TEST_F(MonitorLogicTest, AbandonedLockFallsBackToUnlockedRead) {
    WriteStore(2, 1);
    AbandonedLock lock;
    MonitorLogic logic(file_, host_, system_);
    logic.SetStoreLock(&lock);

    logic.OnApplyAllSetting(true, 0);

    EXPECT_EQ(lock.waits, 1);
    ASSERT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(FieldText(host_.jobs[0]->profile.ProFileName), u"P1");
    ASSERT_NE(logic.CurrentProfile(), nullptr);
    EXPECT_EQ(logic.store().profiles.size(), 2u);  // not read twice into the list
}

TEST_F(MonitorLogicTest, FullDownloadUsesMonitorResetValuesWithoutProfile) {
    MonitorLogic logic(file_, host_, system_);
    logic.LoadAtStartup();  // no file
    ASSERT_TRUE(logic.QueueFullDownload());
    ASSERT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(host_.jobs[0]->kind, DownloadKind::kEverything);
    ProfileRecord expected;
    std::memset(&expected, 0, sizeof expected);
    ResetProfileMonitor(expected);
    EXPECT_TRUE(SameRecord(host_.jobs[0]->profile, expected));
    EXPECT_EQ(host_.jobs[0]->profile.CpiLevel_X[4], 50);

    WriteStore(2, 1);
    logic.LoadAtStartup();
    ASSERT_TRUE(logic.QueueFullDownload());
    EXPECT_EQ(FieldText(host_.jobs[1]->profile.ProFileName), u"P1");
}

TEST_F(MonitorLogicTest, DpiAndRateButtonsAreSavedAndOptionTold) {
    WriteStore(3, 2, 0);
    CountingLock lock;
    MonitorLogic logic(file_, host_, system_);
    logic.SetStoreLock(&lock);
    logic.LoadAtStartup();

    logic.OnDeviceEvent(0x0701, 3);
    logic.OnDeviceEvent(0x0500, 8);

    ProfileStore stored = ReadStore();
    ASSERT_EQ(stored.profiles.size(), 3u);
    EXPECT_EQ(stored.profiles[2]->CpiStep, 2);
    EXPECT_EQ(stored.profiles[2]->PollingRate, 8);
    EXPECT_EQ(stored.profiles[0]->CpiStep, 0);  // only the current profile changes
    EXPECT_EQ(stored.values.DPIStepFlag, 0);    // the flags are saved as read
    EXPECT_EQ(host_.optionMessages, (std::vector<unsigned>{WM_PROFILE_CHANGED, WM_PROFILE_CHANGED}));
    EXPECT_TRUE(host_.jobs.empty());  // the mouse already uses the value
    EXPECT_EQ(lock.acquired, 2);
    EXPECT_EQ(lock.held, 0);
}

TEST_F(MonitorLogicTest, ButtonChoiceTheProfileCannotHoldIsCorrectedAndSentBack) {
    struct Case {
        uint64_t code;
        int64_t value;
        int32_t maxDpi;
        int32_t cpiStep, pollingRate;  // stored and sent afterwards
        PartFlags parts;
        bool optionTold;
    };
    const PartFlags levels{false, true, true, false};
    const PartFlags rate{true, false, false, false};
    const Case cases[] = {
        {0x0700, 4, 2, 1, 2, levels, true},   // the third level of two: the top one
        {0x0701, 8, 5, 4, 2, levels, true},
        {0x0700, 6, -1, 0, 2, levels, true},  // a damaged MaxDPI counts as one level
        {0x0500, 3, 5, 0, 2, rate, false},    // no such rate: the stored one stays
        {0x05FF, 7, 5, 0, 2, rate, false},
    };
    for (const Case& c : cases) {
        host_ = RecordingHost{};
        WriteStore(1, 0, 0);
        ProfileStore store = ReadStore();
        store.profiles[0]->MaxDPI = c.maxDpi;
        ASSERT_TRUE(SaveProfileStore(file_, store));
        MonitorLogic logic(file_, host_, system_);
        logic.LoadAtStartup();
        ASSERT_TRUE(logic.QueueFullDownload());  // what the mouse holds is known
        host_.jobs.clear();

        logic.OnDeviceEvent(c.code, c.value);

        const ProfileStore stored = ReadStore();
        EXPECT_EQ(stored.profiles[0]->CpiStep, c.cpiStep) << c.value;
        EXPECT_EQ(stored.profiles[0]->PollingRate, c.pollingRate) << c.value;
        EXPECT_EQ(stored.profiles[0]->MaxDPI, c.maxDpi) << c.value;
        ASSERT_EQ(host_.jobs.size(), 1u) << c.value;
        const DownloadJob& job = *host_.jobs[0];
        EXPECT_EQ(job.kind, DownloadKind::kEverything) << c.value;  // nobody waits for an answer
        EXPECT_EQ(job.parts, c.parts) << c.value;
        EXPECT_TRUE(SameRecord(job.profile, *stored.profiles[0])) << c.value;
        EXPECT_EQ(host_.optionMessages, c.optionTold ? std::vector<unsigned>{WM_PROFILE_CHANGED}
                                                     : std::vector<unsigned>{})
            << c.value;
    }

    // The mouse was left holding another profile: all of the current one goes.
    host_ = RecordingHost{};
    WriteStore(2, 0, 0);
    MonitorLogic logic(file_, host_, system_);
    logic.LoadAtStartup();
    ASSERT_TRUE(logic.QueueFullDownload());
    ProfileStore option = ReadStore();
    option.values.ProfileID = 1;  // chosen in Option; its apply request not yet handled
    ASSERT_TRUE(SaveProfileStore(file_, option));
    logic.OnDeviceEvent(0x0500, 5);
    ASSERT_EQ(host_.jobs.size(), 2u);
    EXPECT_EQ(host_.jobs[1]->parts, PartFlags::All());
    EXPECT_EQ(FieldText(host_.jobs[1]->profile.ProFileName), u"P1");
}

TEST_F(MonitorLogicTest, MouseChangeKeepsOptionsNewerSave) {
    WriteStore(2, 0, 0);
    MonitorLogic logic(file_, host_, system_);
    logic.LoadAtStartup();

    // Option renamed a profile and changed a speed; its apply request is still queued.
    ProfileStore option = ReadStore();
    CopyToField(option.profiles[1]->ProFileName, u"Renamed");
    option.profiles[0]->MouseSpeed = 17;
    ASSERT_TRUE(SaveProfileStore(file_, option));

    logic.OnDeviceEvent(0x0700, 1);

    ProfileStore stored = ReadStore();
    EXPECT_EQ(FieldText(stored.profiles[1]->ProFileName), u"Renamed");
    EXPECT_EQ(stored.profiles[0]->MouseSpeed, 17);
    EXPECT_EQ(stored.profiles[0]->CpiStep, 0);
}

TEST_F(MonitorLogicTest, MouseChangeWithoutProfileOrWithBadValueWritesNothing) {
    WriteStore(2, 5);  // ProfileID past the end
    const std::string before = FileBytes();
    MonitorLogic logic(file_, host_, system_);
    logic.LoadAtStartup();
    logic.OnDeviceEvent(0x0700, 2);
    logic.OnDeviceEvent(0x0500, 1);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(host_.optionMessages.empty());

    WriteStore(1, 0);
    const std::string valid = FileBytes();
    logic.OnDeviceEvent(0x0700, 0);
    logic.OnDeviceEvent(0x0700, 9);
    logic.OnDeviceEvent(0x0500, 0xFFFF);
    logic.OnDeviceEvent(0x0600, 2);  // no such event group
    EXPECT_EQ(FileBytes(), valid);
    EXPECT_TRUE(host_.optionMessages.empty());
}

TEST_F(MonitorLogicTest, MouseChangeWithAbandonedLockStillSaves) {
    WriteStore(1, 0);
    AbandonedLock lock;
    MonitorLogic logic(file_, host_, system_);
    logic.SetStoreLock(&lock);
    logic.OnDeviceEvent(0x05FF, 4);
    EXPECT_EQ(ReadStore().profiles[0]->PollingRate, 4);
    EXPECT_EQ(host_.optionMessages, std::vector<unsigned>{WM_PROFILE_CHANGED});
}

TEST_F(MonitorLogicTest, LaunchOpensOnlyLaunchButtonsOfCurrentProfile) {
    ProfileStore store;
    auto p = std::make_unique<ProfileRecord>();
    InitNewProfile(*p, u"Games");
    p->MacroKeyInfo[4].FunctionCode = kCodeLaunchProgram;
    CopyToField(p->MacroKeyInfo[4].program, u"C:\\Games\\game.exe");
    p->MacroKeyInfo[15].FunctionCode = kCodeLaunchCommand;
    CopyToField(p->MacroKeyInfo[15].program, u"notepad C:\\readme.txt");
    p->MacroKeyInfo[6].FunctionCode = kCodeMacro;  // a program text on a non-launch button
    CopyToField(p->MacroKeyInfo[6].program, u"C:\\evil.exe");
    p->MacroKeyInfo[7].FunctionCode = kCodeLaunchProgram;  // launch without program
    // A damaged record without terminator must not be read past its field.
    p->MacroKeyInfo[8].FunctionCode = kCodeLaunchProgram;
    for (auto& unit : p->MacroKeyInfo[8].program) unit = u'x';
    store.profiles.push_back(std::move(p));
    store.values.ProfileID = 0;
    ASSERT_TRUE(SaveProfileStore(file_, store));

    MonitorLogic logic(file_, host_, system_);
    logic.LoadAtStartup();
    logic.OnDeviceEvent(0x000A, 5);
    logic.OnDeviceEvent(0x000A, 16);
    logic.OnDeviceEvent(0x000A, 7);
    logic.OnDeviceEvent(0x000A, 8);
    logic.OnDeviceEvent(0x000A, 1);  // a default mouse button
    logic.OnDeviceEvent(0x000A, 0);
    logic.OnDeviceEvent(0x000A, 17);
    logic.OnDeviceEvent(0x000A, 9);

    ASSERT_EQ(host_.opened.size(), 3u);
    EXPECT_EQ(host_.opened[0], u"C:\\Games\\game.exe");
    EXPECT_EQ(host_.opened[1], u"notepad C:\\readme.txt");
    EXPECT_LT(host_.opened[2].size(), static_cast<size_t>(kProgramFieldUnits));
}

TEST_F(MonitorLogicTest, ConfigButtonAsksOwnWindowToOpenOption) {
    MonitorLogic logic(file_, host_, system_);
    logic.OnDeviceEvent(0x00A0, 0x1234);
    EXPECT_EQ(host_.openOptionPosts, 1);
}

TEST(ExecutableName, TakesLastComponent) {
    EXPECT_EQ(ExecutableFileName(L"C:\\Games\\Quake\\quake.exe"), L"quake.exe");
    EXPECT_EQ(ExecutableFileName(L"/usr/bin/wine"), L"wine");
    EXPECT_EQ(ExecutableFileName(L"plain.exe"), L"plain.exe");
    EXPECT_EQ(ExecutableFileName(L""), L"");
}
