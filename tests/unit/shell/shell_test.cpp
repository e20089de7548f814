#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <string>
#include <vector>

#include "../settings/test_support.h"
#include "button_assignment.h"
#include "exchange_file.h"
#include "macro_record.h"
#include "option_session.h"
#include "profile_actions.h"
#include "shared_lock.h"
#include "../support/option_port_doubles.h"

namespace {

ProfileStore StoreOf(std::vector<std::u16string> names, int32_t current = 0) {
    ProfileStore store;
    for (const auto& name : names) {
        auto record = std::make_unique<ProfileRecord>();
        InitNewProfile(*record, name);
        store.profiles.push_back(std::move(record));
    }
    store.values.number = static_cast<int32_t>(names.size());
    store.values.ProfileID = current;
    return store;
}

std::vector<std::u16string> Names(const ProfileStore& store) {
    std::vector<std::u16string> names;
    for (const auto& p : store.profiles) names.push_back(FieldText(p->ProFileName));
    return names;
}

std::u16string CurrentName(ProfileStore& store) { return FieldText(CurrentProfile(store)->ProFileName); }

// Counts what is done with the lock, and can refuse it like an abandoned mutex.
class CountingLock : public ISharedLock {
public:
    bool refuse = false;
    int acquired = 0;
    int released = 0;
    bool Acquire() override {
        if (refuse) return false;
        ++acquired;
        return true;
    }
    void Release() override { ++released; }
};

}  // namespace

// ---- profile operations ------------------------------------------------------

TEST(ProfileActions, NewProfileIsNumberedAfterTheCountAndMadeUnique) {
    ProfileStore store = StoreOf({u"A", u"B", u"C"});
    EXPECT_EQ(AddNewProfile(store), 3);
    EXPECT_EQ(CurrentName(store), u"Profile4");
    EXPECT_EQ(store.values.number, 4);

    ProfileStore taken = StoreOf({u"A", u"profile4", u"C"});
    AddNewProfile(taken);
    EXPECT_EQ(CurrentName(taken), u"Profile4_1");
    // A new profile has Option's reset values.
    EXPECT_EQ(CurrentProfile(taken)->CpiStep, 2);
    EXPECT_EQ(CurrentProfile(taken)->MaxDPI, 5);
}

TEST(ProfileActions, CopiesAreNamedAfterTheirSourceAndStayUnique) {
    ProfileStore store = StoreOf({u"Game"});
    CurrentProfile(store)->CpiStep = 4;
    EXPECT_EQ(CopyCurrentProfile(store), 1);
    EXPECT_EQ(CurrentName(store), u"Game_Copy");
    EXPECT_EQ(CurrentProfile(store)->CpiStep, 4) << "a copy carries the settings";
    store.values.ProfileID = 0;
    CopyCurrentProfile(store);
    EXPECT_EQ(CurrentName(store), u"Game_Copy_1");
    store.values.ProfileID = 1;
    CopyCurrentProfile(store);
    EXPECT_EQ(CurrentName(store), u"Game_Copy_Copy");
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"Game", u"Game_Copy", u"Game_Copy_1", u"Game_Copy_Copy"}));
    EXPECT_EQ(store.values.number, 4);
}

TEST(ProfileActions, CopiesOfLongNamesFitTheFieldAndStayUnique) {
    const std::u16string longName(49, u'x');
    ProfileStore store = StoreOf({longName});
    for (int i = 0; i < 12; ++i) {
        store.values.ProfileID = 0;
        ASSERT_GE(CopyCurrentProfile(store), 0);
        const std::u16string name = CurrentName(store);
        EXPECT_LE(name.size(), 49u);
        EXPECT_NE(name.find(u"_Copy"), std::u16string::npos) << "the copy no longer says it is one";
    }
    std::vector<std::u16string> names = Names(store);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "two profiles share a name";
}

TEST(ProfileActions, NothingIsCopiedWithoutACurrentProfile) {
    ProfileStore store = StoreOf({u"A"}, 5);
    EXPECT_EQ(CopyCurrentProfile(store), -1);
    EXPECT_EQ(store.profiles.size(), 1u);
    EXPECT_EQ(store.values.ProfileID, 5);
}

TEST(ProfileActions, DeletingSelectsTheFollowingOrTheNewLastProfile) {
    ProfileStore last = StoreOf({u"A", u"B", u"C"}, 2);
    ASSERT_TRUE(DeleteProfileAt(last, 2));
    EXPECT_EQ(CurrentName(last), u"B");
    EXPECT_EQ(last.values.number, 2);

    ProfileStore first = StoreOf({u"A", u"B", u"C"}, 0);
    ASSERT_TRUE(DeleteProfileAt(first, 0));
    EXPECT_EQ(CurrentName(first), u"B");
    EXPECT_EQ(Names(first), (std::vector<std::u16string>{u"B", u"C"}));

    ProfileStore single = StoreOf({u"A"});
    EXPECT_FALSE(DeleteProfileAt(single, 0));
    EXPECT_EQ(single.profiles.size(), 1u);

    ProfileStore two = StoreOf({u"A", u"B"});
    EXPECT_FALSE(DeleteProfileAt(two, 2));
    EXPECT_FALSE(DeleteProfileAt(two, -1));
    EXPECT_EQ(two.profiles.size(), 2u);
}

TEST(ProfileActions, RenameAcceptsOnlyANewNameNoOtherProfileHas) {
    ProfileStore store = StoreOf({u"Work", u"play"});
    EXPECT_FALSE(AcceptedRename(store.profiles, 0, u"  work  ")) << "same name in other case";
    EXPECT_FALSE(AcceptedRename(store.profiles, 0, u"Play")) << "another profile's name";
    EXPECT_FALSE(AcceptedRename(store.profiles, 0, u"")) << "empty";
    EXPECT_FALSE(AcceptedRename(store.profiles, 0, u" \t ")) << "blanks only";
    EXPECT_FALSE(AcceptedRename(store.profiles, 7, u"Office")) << "no current profile";
    EXPECT_FALSE(AcceptedRename(store.profiles, 0, std::u16string(50, u'n'))) << "longer than the field";
    EXPECT_EQ(AcceptedRename(store.profiles, 0, u" Office ").value_or(u""), u"Office");
    EXPECT_EQ(AcceptedRename(store.profiles, 0, std::u16string(49, u'n')).value_or(u"").size(), 49u);
}

TEST(ProfileActions, ImportsGetUniqueNamesAndBecomeCurrent) {
    ProfileStore store = StoreOf({u"Shared"});
    for (int i = 0; i < 2; ++i) {
        auto record = std::make_unique<ProfileRecord>();
        InitNewProfile(*record, u"Shared");
        AddImportedProfile(store, std::move(record));
    }
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"Shared", u"Shared_1", u"Shared_2"}));
    EXPECT_EQ(store.values.ProfileID, 2);
}

TEST(ProfileActions, LaunchingButtonsAreListedAndCanBeReset) {
    ProfileRecord record{};
    InitNewProfile(record, u"Shared");
    ButtonAssignment& program = record.MacroKeyInfo[3];
    program.FunctionClass = kClassLaunch;
    program.FunctionCode = kCodeLaunchProgram;
    CopyToField(program.program, u"C:\\evil.exe");
    ButtonAssignment& command = record.MacroKeyInfo[9];
    command.FunctionClass = kClassLaunch;
    command.FunctionCode = kCodeLaunchCommand;
    CopyToField(command.program, u"cmd /c del *");

    const auto actions = LaunchActionsOf(record);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].buttonIndex, 3);
    EXPECT_EQ(actions[0].target, u"C:\\evil.exe");
    EXPECT_EQ(actions[1].code, kCodeLaunchCommand);

    ProfileRecord reset = record;
    ResetLaunchActions(reset);
    EXPECT_TRUE(LaunchActionsOf(reset).empty());
    ButtonAssignment expected = record.MacroKeyInfo[3];
    ResetToDefault(expected, 3);
    EXPECT_EQ(std::memcmp(&reset.MacroKeyInfo[3], &expected, sizeof expected), 0);
    // Other buttons are untouched.
    EXPECT_EQ(std::memcmp(&reset.MacroKeyInfo[0], &record.MacroKeyInfo[0], sizeof expected), 0);
}

// ---- the session: loading, applying, reloading ----------------------------------

class Session : public ::testing::Test {
protected:
    TempFolder dir;
    CountingLock lock;
    FakeMonitor monitor;

    void WriteStore(ProfileStore store) {
        std::filesystem::create_directories(dir.path() / "config");
        ASSERT_TRUE(SaveProfileStore(ProfileStorePath(dir.path()), store));
    }
    ProfileStore OnDisk() const {
        ProfileStore store;
        LoadProfileStore(ProfileStorePath(dir.path()), store);
        return store;
    }
    void TearDown() override { EXPECT_EQ(lock.acquired, lock.released) << "the lock was left held"; }
};

TEST_F(Session, AnEmptyStoreGetsAFirstProfileOnDisk) {
    OptionSession session(dir.path(), &lock);
    EXPECT_TRUE(session.Load());
    ASSERT_NE(session.current(), nullptr);
    ProfileStore disk = OnDisk();
    ASSERT_EQ(disk.profiles.size(), 1u);
    EXPECT_EQ(FieldText(disk.profiles[0]->ProFileName), u"Profile1");
    EXPECT_GE(lock.acquired, 2) << "load and save go through the lock";
    // A second start finds it and makes nothing.
    OptionSession again(dir.path(), &lock);
    EXPECT_FALSE(again.Load());
}

TEST_F(Session, WithoutTheLockTheStoreIsReadAndThePartFlagsCleared) {
    ProfileStore store = StoreOf({u"A", u"B"}, 1);
    MarkAllParts(store.values);
    WriteStore(std::move(store));
    lock.refuse = true;
    OptionSession session(dir.path(), &lock);
    EXPECT_FALSE(session.Load());
    EXPECT_EQ(FieldText(session.current()->ProFileName), u"B");
    EXPECT_EQ(session.store().values.KeysFlag, 0);
    EXPECT_EQ(session.store().values.PRateFlag, 0);

    OptionSession noMonitor(dir.path(), nullptr);
    noMonitor.Load();
    EXPECT_EQ(noMonitor.store().values.AttributeFlag, 0);
}

TEST_F(Session, APartialApplyFlagsOnlyWhatChangedSinceTheLastApply) {
    WriteStore(StoreOf({u"A"}));
    OptionSession session(dir.path(), &lock);
    session.Load();
    // Right after loading, nothing has changed since the store was read.
    EXPECT_FALSE(session.Apply(false, monitor).told);
    session.current()->PollingRate = 1;
    ApplyOutcome outcome = session.Apply(false, monitor);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.told);
    EXPECT_FALSE(outcome.waiting) << "only a full apply waits";
    StoreValues v = OnDisk().values;
    EXPECT_EQ(v.PRateFlag, 1);
    EXPECT_EQ(v.DPIStepFlag, 0);
    EXPECT_EQ(v.AttributeFlag, 0);
    EXPECT_EQ(v.KeysFlag, 0);
    EXPECT_EQ(OnDisk().profiles[0]->PollingRate, 1);

    // Nothing changed since: nothing is written or sent.
    const std::string before = ReadBytes(dir.path() / "config" / "Config.data");
    outcome = session.Apply(false, monitor);
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.told);
    EXPECT_EQ(monitor.posts, 1);
    EXPECT_EQ(ReadBytes(dir.path() / "config" / "Config.data"), before);

    session.current()->LightSwitch = 0;
    session.Apply(false, monitor);
    v = OnDisk().values;
    EXPECT_EQ(v.PRateFlag, 0) << "the rate went to the mouse with the first apply";
    EXPECT_EQ(v.AttributeFlag, 1);
    EXPECT_EQ(monitor.posts, 2);
}

TEST_F(Session, AFullApplyWaitsOnlyWhenTheMonitorWasTold) {
    WriteStore(StoreOf({u"A"}));
    OptionSession session(dir.path(), &lock);
    session.Load();
    MarkAllParts(session.store().values);
    EXPECT_TRUE(session.Apply(true, monitor).waiting);
    EXPECT_EQ(OnDisk().values.KeysFlag, 1);

    monitor.running = false;
    lock.refuse = true;  // no Monitor: no lock either
    session.current()->CpiStep = 0;
    const ApplyOutcome alone = session.Apply(true, monitor);
    EXPECT_FALSE(alone.waiting);
    EXPECT_FALSE(alone.told);
    EXPECT_TRUE(alone.saved) << "the store is written without the lock";
    EXPECT_EQ(OnDisk().profiles[0]->CpiStep, 0);
}

TEST_F(Session, AReloadKeepsTheMonitorsChangeForTheNextSave) {
    WriteStore(StoreOf({u"Work"}));
    OptionSession session(dir.path(), &lock);
    session.Load();
    // The Monitor saves a DPI level chosen on the mouse.
    ProfileStore changed = OnDisk();
    changed.profiles[0]->CpiStep = 4;
    changed.profiles[0]->PollingRate = 1;
    WriteStore(std::move(changed));

    ASSERT_TRUE(session.ReloadAfterMonitorChange());
    EXPECT_EQ(session.current()->CpiStep, 4);
    // A rename afterwards saves the Monitor's change along with the name.
    auto name = AcceptedRename(session.store().profiles, session.store().values.ProfileID, u"Office");
    ASSERT_TRUE(name);
    CopyToField(session.current()->ProFileName, *name);
    ASSERT_TRUE(session.SaveWithoutApply());
    EXPECT_EQ(OnDisk().profiles[0]->CpiStep, 4);
    EXPECT_EQ(FieldText(OnDisk().profiles[0]->ProFileName), u"Office");
    EXPECT_EQ(monitor.posts, 0) << "a rename asks for no download";
    // The mouse holds what it chose: the level and rate set back to what Option
    // sent before are changes to save and send.
    session.current()->CpiStep = 2;
    session.current()->PollingRate = 2;
    EXPECT_TRUE(session.Apply(false, monitor).told);
    const ProfileStore back = OnDisk();
    EXPECT_EQ(back.profiles[0]->CpiStep, 2);
    EXPECT_EQ(back.values.DPIStepFlag, 1);
    EXPECT_EQ(back.values.PRateFlag, 1);
}

TEST_F(Session, AReloadFallsBackToAnUnlockedReadAndNeverEmptiesTheList) {
    WriteStore(StoreOf({u"A", u"B"}));
    OptionSession session(dir.path(), &lock);
    session.Load();
    ProfileStore changed = OnDisk();
    changed.values.ProfileID = 1;
    WriteStore(std::move(changed));
    lock.refuse = true;
    ASSERT_TRUE(session.ReloadAfterMonitorChange());
    EXPECT_EQ(FieldText(session.current()->ProFileName), u"B");

    std::filesystem::remove(ProfileStorePath(dir.path()));
    EXPECT_TRUE(session.ReloadAfterMonitorChange());
    EXPECT_EQ(session.store().profiles.size(), 2u) << "a vanished store emptied the pages";
}

// ---- exchange files for import ---------------------------------------------------

TEST(ImportFile, OnlyAFileWithAProfileSectionGivesAProfile) {
    TempFolder dir;
    std::string error;
    EXPECT_FALSE(ReadProfileForImport(dir / "missing.gmp", error));
    EXPECT_FALSE(error.empty());

    std::mt19937 rng(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    WriteBytes(dir / "noise.gmp", noise);
    EXPECT_FALSE(ReadProfileForImport(dir / "noise.gmp", error));

    WriteBytes(dir / "text.gmp", "just a note\r\nwith two lines\r\n");
    EXPECT_FALSE(ReadProfileForImport(dir / "text.gmp", error));

    // Larger than any store: refused without reading it into memory.
    std::filesystem::path huge = dir / "huge.gmp";
    WriteBytes(huge, "[Setting]\r\n");
    std::filesystem::resize_file(huge, 300ull * 1024 * 1024);
    EXPECT_FALSE(ReadProfileForImport(huge, error));

    ProfileRecord exported{};
    InitNewProfile(exported, u"Arena");
    exported.PollingRate = 1;
    ASSERT_TRUE(WriteExchangeSection(exported, dir / "arena.gmp"));
    auto imported = ReadProfileForImport(dir / "arena.gmp", error);
    ASSERT_TRUE(imported);
    EXPECT_EQ(FieldText(imported->ProFileName), u"Arena");
    EXPECT_EQ(imported->PollingRate, 1);
    EXPECT_EQ(imported->MaxDPI, 5) << "fields the file does not carry get the reset values";
}

TEST(ImportFile, AnOverlongNameIsCutToTheField) {
    TempFolder dir;
    WriteBytes(dir / "long.gmp", "[Setting]\r\nProFileName=" + std::string(10000, 'n') + "\r\n");
    std::string error;
    auto imported = ReadProfileForImport(dir / "long.gmp", error);
    ASSERT_TRUE(imported);
    EXPECT_EQ(FieldText(imported->ProFileName).size(), 49u);
    ProfileStore store = StoreOf({std::u16string(49, u'n')});
    AddImportedProfile(store, std::move(imported));
    EXPECT_EQ(Names(store)[1], std::u16string(47, u'n') + u"_1");
}
