#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "../settings/test_support.h"
#include "button_assignment.h"
#include "exchange_file.h"
#include "item_bar_model.h"
#include "macro_record.h"
#include "lighting_model.h"
#include "option_session.h"
#include "performance_model.h"
#include "profile_actions.h"
#include "scale_set.h"
#include "ui_scale.h"
#include "shared_lock.h"
#include "../../support/counting_lock.h"
#include "../../support/option_port_doubles.h"

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

TEST(ProfileActions, AProfileMarkedBeforeADialogIsFoundAgainAfterIt) {
    // Copy, then delete what is shown: the copy goes, the source stays.
    ProfileStore store = StoreOf({u"Gamer", u"Work", u"Game"}, 2);
    CopyCurrentProfile(store);
    ASSERT_TRUE(DeleteProfileAt(store, FindMarkedProfile(store.profiles, MarkCurrentProfile(store))));
    EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"Gamer", u"Work", u"Game"}));

    // The store read again while a dialog was open: the same profile, wherever it is now.
    const ProfileMark work = MarkCurrentProfile(StoreOf({u"Gamer", u"Work", u"Game"}, 1));
    EXPECT_EQ(FindMarkedProfile(StoreOf({u"Gamer", u"Work"}, 0).profiles, work), 1) << "another profile current";
    EXPECT_EQ(FindMarkedProfile(StoreOf({u"WORK", u"Gamer"}).profiles, work), 0) << "the list moved";
    EXPECT_EQ(FindMarkedProfile(StoreOf({u"Gamer", u"Office"}).profiles, work), -1) << "renamed: gone";
    EXPECT_EQ(FindMarkedProfile(StoreOf({u"Gamer"}).profiles, MarkCurrentProfile(StoreOf({u"A"}, 4))), -1);
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
    // The Monitor gave the mouse its own reset values: the first apply, whatever
    // it was asked for, sends the whole profile, and only the first.
    EXPECT_TRUE(session.OwesFullApply());
    session.current()->CpiStep = 0;
    EXPECT_TRUE(session.Apply(false, monitor).told);
    EXPECT_EQ(OnDisk().values.KeysFlag, 1);
    EXPECT_EQ(OnDisk().values.AttributeFlag, 1);
    EXPECT_EQ(OnDisk().values.PRateFlag, 1);
    EXPECT_FALSE(session.OwesFullApply());
    session.current()->PollingRate = 1;
    session.Apply(false, monitor);
    EXPECT_EQ(OnDisk().values.AttributeFlag, 0);
    EXPECT_EQ(OnDisk().values.DPIStepFlag, 0);
    EXPECT_EQ(OnDisk().values.PRateFlag, 1);
    // A second start finds it and makes nothing.
    OptionSession again(dir.path(), &lock);
    EXPECT_FALSE(again.Load());
    EXPECT_FALSE(again.OwesFullApply()) << "the Monitor downloaded that store whole";

    // A store whose current profile is missing: the Monitor had none to download either.
    ProfileStore lost = OnDisk();
    lost.values.ProfileID = 9;
    WriteStore(std::move(lost));
    OptionSession fallback(dir.path(), &lock);
    EXPECT_FALSE(fallback.Load());
    EXPECT_TRUE(fallback.OwesFullApply());
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

    bool switched = true;
    ASSERT_TRUE(session.ReloadAfterMonitorChange(&switched));
    EXPECT_FALSE(switched) << "the same profile: a rename being typed stays open";
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

    // Another profile at the same position is no longer the one being edited.
    ProfileStore replaced = StoreOf({u"Play"});
    replaced.profiles[0]->CpiStep = 1;
    WriteStore(std::move(replaced));
    ASSERT_TRUE(session.ReloadAfterMonitorChange(&switched));
    EXPECT_TRUE(switched);
    EXPECT_EQ(session.snapshot().CpiStep, 1);
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

TEST_F(Session, AMacroRenamedOrDeletedFollowsIntoEveryProfileAndIsSaved) {
    auto give = [](ProfileRecord& profile, int button, std::u16string_view name) {
        ButtonAssignment& b = profile.MacroKeyInfo[button];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        CopyToField(b.macroName, name);
    };
    ProfileStore store = StoreOf({u"A", u"B"});
    give(*store.profiles[0], 3, u"Reload");
    give(*store.profiles[1], 3, u"Reload");
    give(*store.profiles[1], 4, u"Spray");
    WriteStore(std::move(store));
    MacroLibrary library;
    for (auto name : {u"Reload", u"Spray"}) {
        library.push_back(std::make_unique<MacroRecord>());
        std::memset(library.back().get(), 0, sizeof(MacroRecord));
        CopyToField(library.back()->name, name);
    }
    ASSERT_TRUE(SaveMacroLibrary(MacroLibraryPath(dir.path()), library));
    OptionSession session(dir.path(), &lock);
    session.Load();

    EXPECT_EQ(session.RenameMacroInProfiles(0, u"Quick"), 2);
    CopyToField(session.macros()[0]->name, u"Quick");
    EXPECT_TRUE(session.Apply(false, monitor).told);
    for (int p : {0, 1}) EXPECT_EQ(FieldText(OnDisk().profiles[p]->MacroKeyInfo[3].macroName), u"Quick") << p;

    // Only another profile plays it: the current one is untouched, and still
    // the store is written and the Monitor told.
    EXPECT_EQ(session.ForgetMacroInProfiles(1), 1);
    session.macros().erase(session.macros().begin() + 1);
    EXPECT_TRUE(session.Apply(false, monitor).told);
    EXPECT_EQ(monitor.posts, 2);
    EXPECT_EQ(OnDisk().profiles[1]->MacroKeyInfo[4].FunctionCode, DefaultFunctionCode(4));
    EXPECT_EQ(OnDisk().profiles[1]->MacroKeyInfo[3].FunctionCode, kCodeMacro);

    // Steps recorded anew: another profile's button takes them as well, or a
    // game switching that profile in would send the old ones to the mouse.
    session.macros()[0]->events[0].keyCode = 9;
    session.macros()[0]->eventCount = 1;
    EXPECT_EQ(session.SyncMacrosInProfiles(), 2);
    EXPECT_TRUE(session.Apply(false, monitor).saved);
    const ButtonAssignment played = OnDisk().profiles[1]->MacroKeyInfo[3];
    EXPECT_EQ(played.eventCount, 1);
    EXPECT_EQ(played.events[0].keyCode, 9);

    // A long name and its copy answer to the same button name and play the
    // same steps: the one recorded anew keeps its buttons, the copy does not take them.
    const std::u16string stem(kMacroNameFieldUnits - 1, u'm');
    for (auto tail : {u"1", u"2"}) {
        session.macros().push_back(std::make_unique<MacroRecord>(*session.macros()[0]));
        CopyToField(session.macros().back()->name, stem + tail);
    }
    session.SyncMacrosInProfiles();
    ButtonAssignment& button = session.current()->MacroKeyInfo[6];
    button = session.current()->MacroKeyInfo[3];
    CopyToField(button.macroName, stem);
    button.macroIndex = 1;
    session.macros()[1]->events[0].keyCode = 7;
    session.SyncMacrosInProfiles();
    EXPECT_EQ(button.macroIndex, 1);
    EXPECT_EQ(button.events[0].keyCode, 7);
}

// ---- the item bar over the profiles and the macros ----------------------------

// A command of the page, from `source`, with the drop-down open or not and a
// rename running or not, and what it must close before it is carried out.
struct BarCommand {
    const char* name;
    bool open;
    bool renaming;
    ItemBarModel::Source source;
    ItemBarModel::Closing closes;
};
void PrintTo(const BarCommand& command, std::ostream* out) { *out << command.name; }

class ItemBarCommand : public ::testing::TestWithParam<BarCommand> {};

TEST_P(ItemBarCommand, ClosesOnlyWhatTheCommandDoesNotBelongTo) {
    ItemBarModel bar;
    if (GetParam().open) bar.OpenDropDown();
    if (GetParam().renaming) ASSERT_TRUE(bar.BeginRename(0, u"Work"));
    EXPECT_EQ(bar.ClosedBy(GetParam().source), GetParam().closes);
    // Asking changes nothing: the page closes what it was told to.
    EXPECT_EQ(bar.DropDownOpen(), GetParam().open);
    EXPECT_EQ(bar.Renaming(), GetParam().renaming);
}

using Source = ItemBarModel::Source;
INSTANTIATE_TEST_SUITE_P(
    Commands, ItemBarCommand,
    ::testing::Values(BarCommand{"ListPicksWithTheListOpen", true, false, Source::kList, {false, false}},
                      BarCommand{"DropDownTogglesItself", true, false, Source::kDropDown, {false, false}},
                      BarCommand{"ABoxNoticeClosesTheList", true, false, Source::kRenameBox, {true, false}},
                      BarCommand{"AnotherButtonClosesTheList", true, false, Source::kOther, {true, false}},
                      BarCommand{"TypingGoesOnRenaming", false, true, Source::kRenameBox, {false, false}},
                      BarCommand{"TheListEndsARename", false, true, Source::kList, {false, true}},
                      BarCommand{"TheDropDownEndsARename", false, true, Source::kDropDown, {false, true}},
                      BarCommand{"AnotherButtonEndsARename", false, true, Source::kOther, {false, true}},
                      BarCommand{"NothingOpenNothingCloses", false, false, Source::kOther, {false, false}}),
    [](const ::testing::TestParamInfo<BarCommand>& info) { return std::string(info.param.name); });

TEST(ItemBar, ARenameEndsOnceAndKeepsWhereItBeganThoughTheProfileChanges) {
    ProfileStore store = StoreOf({u"Work", u"Play"});
    ItemBarModel bar;
    EXPECT_FALSE(bar.BeginRename(-1, u"")) << "no current item, nothing to rename";
    EXPECT_FALSE(bar.Renaming());
    ASSERT_TRUE(bar.BeginRename(store.values.ProfileID, CurrentName(store)));
    // A second press while the box is open: the rename that runs is kept.
    store.values.ProfileID = 1;
    ASSERT_TRUE(bar.BeginRename(store.values.ProfileID, CurrentName(store)));
    EXPECT_EQ(bar.Pending(), (ItemBarModel::Rename{0, u"Work"}));
    EXPECT_EQ(bar.EndRename(), (ItemBarModel::Rename{0, u"Work"}));
    EXPECT_EQ(bar.EndRename(), std::nullopt) << "a rename ends once";
    bar.OpenDropDown();
    EXPECT_TRUE(bar.CloseDropDown());
    EXPECT_FALSE(bar.CloseDropDown()) << "closed already";
}

// ---- a dialog's result, with the Monitor's change while it was open ------------

// What each of Option's three dialogs writes when accepted, and the part flag
// that change raises.
struct DialogEdit {
    const char* name;
    std::function<bool(ProfileRecord&)> edit;
    int part;  // 0 KeysFlag, 1 AttributeFlag, 2 DPIStepFlag, 3 PRateFlag
};
void PrintTo(const DialogEdit& edit, std::ostream* out) { *out << edit.name; }

// Option on "Desktop" (current) and "Game" with a dialog opened on Desktop.
class OpenDialog : public Session {
protected:
    std::unique_ptr<OptionSession> session;
    EditedProfile opened;

    void SetUp() override {
        WriteStore(StoreOf({u"Desktop", u"Game"}));
        session = std::make_unique<OptionSession>(dir.path(), &lock);
        session->Load();
        opened = session->EditedNow();
    }
    // The Monitor saves the store changed by `change` and Option reads it again.
    void MonitorSaves(const std::function<void(ProfileStore&)>& change, bool switches) {
        ProfileStore store = OnDisk();
        change(store);
        WriteStore(std::move(store));
        bool switched = !switches;
        ASSERT_TRUE(session->ReloadAfterMonitorChange(&switched));
        ASSERT_EQ(switched, switches);
    }
    static std::vector<int> Flags(const StoreValues& v) {
        return {v.KeysFlag, v.AttributeFlag, v.DPIStepFlag, v.PRateFlag};
    }
};

class DialogResult : public OpenDialog, public ::testing::WithParamInterface<DialogEdit> {};

TEST_P(DialogResult, AfterAGameSwitchItGoesToTheProfileItWasOpenedForAndNothingIsSent) {
    ProfileRecord desktop = *OnDisk().profiles[0];
    const ProfileRecord game = *OnDisk().profiles[1];
    MonitorSaves([](ProfileStore& s) { s.values.ProfileID = 1; }, true);

    const EditOutcome outcome = session->ApplyEdit(opened, GetParam().edit, monitor);
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.current);
    EXPECT_TRUE(outcome.apply.saved);
    EXPECT_FALSE(outcome.apply.told);
    EXPECT_EQ(monitor.posts, 0) << "the mouse holds the game's profile whole already";
    ASSERT_TRUE(GetParam().edit(desktop));
    ProfileStore disk = OnDisk();
    EXPECT_EQ(disk.values.ProfileID, 1);
    EXPECT_TRUE(SameRecord(*disk.profiles[0], desktop)) << "the change missed the profile it was made for";
    EXPECT_TRUE(SameRecord(*disk.profiles[1], game)) << "the game's profile took the change";

    // The game's own next change is all its next apply sends.
    session->current()->PollingRate = 1;
    EXPECT_TRUE(session->Apply(false, monitor).told);
    EXPECT_EQ(Flags(OnDisk().values), (std::vector<int>{0, 0, 0, 1}));
}

TEST_P(DialogResult, OnTheStillCurrentProfileItIsAppliedAndKeepsTheMousesChange) {
    // A rate button on the mouse while the dialog was open: same profile, no switch.
    MonitorSaves([](ProfileStore& s) { s.profiles[0]->PollingRate = 8; }, false);
    ProfileRecord desktop = *session->current();
    ASSERT_TRUE(GetParam().edit(desktop));

    const EditOutcome outcome = session->ApplyEdit(opened, GetParam().edit, monitor);
    EXPECT_TRUE(outcome.written);
    EXPECT_TRUE(outcome.current);
    EXPECT_TRUE(outcome.apply.told);
    ProfileStore disk = OnDisk();
    EXPECT_TRUE(SameRecord(*disk.profiles[0], desktop));
    EXPECT_EQ(disk.profiles[0]->PollingRate, 8);
    EXPECT_EQ(Flags(disk.values)[GetParam().part], 1) << "the change is not flagged for the mouse";
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogResult,
    ::testing::Values(
        DialogEdit{"Assignment",
                   [](ProfileRecord& r) {
                       r.MacroKeyInfo[4].FunctionClass = kClassDisabled;
                       r.MacroKeyInfo[4].FunctionCode = 0;
                       return true;
                   },
                   0},
        DialogEdit{"DpiLevels",
                   [](ProfileRecord& r) {
                       performance::DpiLevels levels = performance::DpiLevels::From(r);
                       levels.ChooseCount(performance::kCountCommandBase + 3);
                       levels.SetActiveValue(42);
                       levels.ApplyTo(r);
                       return true;
                   },
                   1},
        DialogEdit{"Colour", [](ProfileRecord& r) { return lighting::SetSwatchColour(r, 1, 0x123456); }, 1}),
    [](const ::testing::TestParamInfo<DialogEdit>& info) { return std::string(info.param.name); });

TEST_F(OpenDialog, AGameChosenInTheFileDialogLinksTheProfileItWasOpenedFor) {
    MonitorSaves([](ProfileStore& s) { s.values.ProfileID = 1; }, true);
    EXPECT_FALSE(session->SetGameFile(opened, u"C:\\Games\\bad\x01.exe"));
    ASSERT_TRUE(session->SetGameFile(opened, u"C:\\Games\\arena.exe"));
    ProfileStore disk = OnDisk();
    EXPECT_EQ(FieldText(disk.profiles[0]->GameFile), u"C:\\Games\\arena.exe");
    EXPECT_EQ(FieldText(disk.profiles[1]->GameFile), u"") << "the profile switched in got the link";
    EXPECT_EQ(disk.values.ProfileID, 1);
    EXPECT_EQ(monitor.posts, 0);
}

TEST_F(Session, ADialogsResultForAProfileNoLongerThereChangesNothing) {
    WriteStore(StoreOf({u"Desktop", u"Game"}));
    OptionSession session(dir.path(), &lock);
    session.Load();
    const EditedProfile opened = session.EditedNow();
    EXPECT_EQ(opened.position, 0);
    EXPECT_EQ(opened.name, u"Desktop");
    // Renamed behind Option's back (gmconfig) and read again.
    ProfileStore store = OnDisk();
    CopyToField(store.profiles[0]->ProFileName, u"Office");
    WriteStore(std::move(store));
    ASSERT_TRUE(session.ReloadAfterMonitorChange());
    const std::string before = ReadBytes(ProfileStorePath(dir.path()));
    const auto edit = [](ProfileRecord& r) {
        r.PollingRate = 1;
        return true;
    };
    EXPECT_FALSE(session.ApplyEdit(opened, edit, monitor).written);
    EXPECT_FALSE(session.ApplyEdit(EditedProfile{5, u"Desktop"}, edit, monitor).written);
    EXPECT_FALSE(session.ApplyEdit(session.EditedNow(), [](ProfileRecord&) { return false; }, monitor).written);
    EXPECT_EQ(ReadBytes(ProfileStorePath(dir.path())), before);
    EXPECT_EQ(monitor.posts, 0);
    EXPECT_NE(session.current()->PollingRate, 1);
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

// ---- scaled skin sets ----------------------------------------------------------

struct SetCase {
    int dpi;
    std::vector<int> installed;
    int percent;
    bool fallback;
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << "dpi " << c.dpi << " -> " << c.percent; }

class ScaleSetChoiceTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(ScaleSetChoiceTest, PicksTheSetOfTheDisplayOrTheNearestInstalled) {
    const SetCase& c = GetParam();
    const ScaleSetChoice choice = ChooseScaleSet(c.dpi, [&](int percent) {
        return std::find(c.installed.begin(), c.installed.end(), percent) != c.installed.end();
    });
    EXPECT_EQ(choice.percent, c.percent);
    EXPECT_EQ(choice.fallback, c.fallback);
}

const std::vector<int> kAllSets{100, 125, 150, 200};

INSTANTIATE_TEST_SUITE_P(
    Dpi, ScaleSetChoiceTest,
    ::testing::Values(SetCase{96, kAllSets, 100, false}, SetCase{120, kAllSets, 125, false},
                      SetCase{144, kAllSets, 150, false}, SetCase{192, kAllSets, 200, false},
                      // between sets: the next larger one
                      SetCase{97, kAllSets, 125, false}, SetCase{121, kAllSets, 150, false},
                      SetCase{168, kAllSets, 200, false},
                      // beyond the largest, or the set's folder missing: the nearest there is
                      SetCase{240, kAllSets, 200, true}, SetCase{240, {100, 125}, 125, true},
                      SetCase{144, {100, 200}, 200, true}, SetCase{144, {100, 125}, 125, true},
                      SetCase{120, {100}, 100, true}, SetCase{192, {}, 100, true},
                      // no DPI known: the unscaled set
                      SetCase{0, kAllSets, 100, false}));

TEST(UiScale, RoundsHalfUpAndKeepsTouchingRectanglesTouching) {
    for (int percent : {100, 125, 150, 200}) {
        const UiScale scale{percent};
        EXPECT_EQ(scale.Scale(0), 0);
        for (int x = 0; x < 400; ++x) {
            // half up, in integers
            const int exact2 = 2 * x * percent;  // twice the exact value, in hundredths
            EXPECT_EQ(scale.Scale(x), (exact2 + 100) / 200) << x << " at " << percent;
            const ScaledRect left = scale.ScaleRect(x, 3, 7, 5);
            const ScaledRect right = scale.ScaleRect(x + 7, 3, 11, 5);
            EXPECT_EQ(left.x + left.width, right.x) << "neighbours meet at " << percent;
        }
    }
    EXPECT_EQ(UiScale{125}.Scale(2), 3);    // 2.5 goes up
    EXPECT_EQ(UiScale{150}.Scale(-3), -4);  // -4.5 + 0.5 floors to -4
    EXPECT_EQ(UiScale{125}.ScaleRect(10, 10, 648, 492).width, 810);
}

TEST(UiScale, AnEdgeOfOneSetMovesToAnotherAsIfScaledFromTheStart) {
    const int percents[] = {100, 125, 150, 200};
    for (int from : percents)
        for (int to : percents)
            for (int x = -20; x < 700; ++x)
                EXPECT_EQ(Rescale(UiScale{from}.Scale(x), UiScale{from}, UiScale{to}), UiScale{to}.Scale(x))
                    << x << " from " << from << " to " << to;
}
