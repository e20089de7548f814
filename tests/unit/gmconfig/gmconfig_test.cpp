#include "gmconfig.h"

#include <gtest/gtest.h>

#include "exchange_file.h"
#include "gmconfig_harness.h"
#include "ini_file.h"
#include "macro_library.h"
#include "profile_store.h"
#include "text_codec.h"

namespace {

class Gmconfig : public GmconfigHarness {
protected:
    ProfileStore Load() const {
        ProfileStore store;
        LoadProfileStore(StorePath(), store);
        return store;
    }
    // Runs a command that must be refused: status 2, one line on stderr, files unchanged.
    void ExpectRefused(std::vector<std::string> args) {
        const std::string before = ReadBytes(StorePath());
        const int notifiedBefore = platform.notified;
        EXPECT_EQ(Run(args), kExitBadInput) << args[0];
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(ReadBytes(StorePath()), before) << args[0];
        EXPECT_EQ(platform.notified, notifiedBefore);
    }
};

}  // namespace

TEST_F(Gmconfig, CreatesTheFirstProfileAndListsIt) {
    EXPECT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Run({"new"}), kExitOk);
    EXPECT_EQ(Run({"new", "Pr\xC3\xA9" "cision \xE5\xB0\x84\xE5\x87\xBB"}), kExitOk);
    EXPECT_EQ(Run({"new", "Profile1"}), kExitOk);
    EXPECT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(out, "  0 Profile1\n  1 Pr\xC3\xA9" "cision \xE5\xB0\x84\xE5\x87\xBB\n* 2 Profile1_1\n");
    const ProfileStore store = Load();
    EXPECT_EQ(store.values.ProfileID, 2);
    EXPECT_EQ(store.values.KeysFlag, 1);  // a new profile applies everything
    EXPECT_EQ(platform.notified, 3);
}

TEST_F(Gmconfig, ListNamesEachProfilesGameAfterATab) {
    ASSERT_EQ(Run({"new", "Desktop"}), kExitOk);
    ASSERT_EQ(Run({"new", "Shooter"}), kExitOk);
    ASSERT_EQ(Run({"set", "GameFile=C:\\Games\\Shooter Arena\\shooter.exe"}), kExitOk);
    ASSERT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(out, "  0 Desktop\n* 1 Shooter\tgame: C:\\Games\\Shooter Arena\\shooter.exe\n");
    ASSERT_EQ(Run({"set", "GameFile="}), kExitOk);  // unlinked
    ASSERT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(out, "  0 Desktop\n* 1 Shooter\n");
}

TEST_F(Gmconfig, SetSavesOnlyTheChangedPartFlags) {
    ASSERT_EQ(Run({"new"}), kExitOk);
    ASSERT_EQ(Run({"set", "PollingRate=8"}), kExitOk);
    StoreValues v = Load().values;
    EXPECT_EQ(std::vector<int>({v.PRateFlag, v.DPIStepFlag, v.AttributeFlag, v.KeysFlag}),
              std::vector<int>({1, 0, 0, 0}));
    ASSERT_EQ(Run({"set", "cpistep=0", "DPIColor2=0x123456", "CpiLevel_X4=100"}), kExitOk);
    v = Load().values;
    EXPECT_EQ(std::vector<int>({v.PRateFlag, v.DPIStepFlag, v.AttributeFlag, v.KeysFlag}),
              std::vector<int>({0, 1, 1, 0}));
    const ProfileStore store = Load();
    EXPECT_EQ(store.profiles[0]->DPIColor[2], 0x123456);
    EXPECT_EQ(store.profiles[0]->CpiLevel_X[4], 100);
    ASSERT_EQ(Run({"set", "PollingRate=8"}), kExitOk);  // no change: nothing to download
    v = Load().values;
    EXPECT_EQ(v.PRateFlag + v.DPIStepFlag + v.AttributeFlag + v.KeysFlag, 0);
}

TEST_F(Gmconfig, RefusesBadInputAndChangesNothing) {
    ASSERT_EQ(Run({"new"}), kExitOk);
    ASSERT_EQ(Run({"new", "Second"}), kExitOk);
    ExpectRefused({"set", "PollingRate=3"});
    ExpectRefused({"set", "PollingRate=abc"});
    ExpectRefused({"set", "MaxDPI=6"});
    ExpectRefused({"set", "MaxDPI=2", "CpiStep=2"});
    ExpectRefused({"set", "CpiLevel_X0=1"});
    ExpectRefused({"set", "DPIColor0=0x1000000"});
    ExpectRefused({"set", "LightDir=4"});
    ExpectRefused({"set", "MouseSpeed=0"});
    ExpectRefused({"set", "DbleClickSpeed=5"});
    ExpectRefused({"set", "NoSuchKey=1"});
    ExpectRefused({"set", "PollingRate"});
    ExpectRefused({"select", "2"});
    ExpectRefused({"select", "-1"});
    ExpectRefused({"select", "1x"});
    ExpectRefused({"rename", "0", "second"});
    ExpectRefused({"rename", "0", "   "});
    ExpectRefused({"rename", "0", "PROFILE1"});
    ExpectRefused({"rename", "0", "This name is far too long"});
    ExpectRefused({"import", (dir / "missing.gmp").string()});
    ExpectRefused({"button", "0", "disable"});  // the only left click
    ExpectRefused({"button", "16", "default"});
    ExpectRefused({"button", "3", "key", "240"});
    ExpectRefused({"button", "3", "macro", "0"});  // the library is empty
    ExpectRefused({"frobnicate"});
    WriteBytes(dir / "notes.txt", "hello\n");
    ExpectRefused({"import", (dir / "notes.txt").string()});
    ExpectRefused({"macro-import", (dir / "notes.txt").string()});
}

TEST_F(Gmconfig, KeepsTheLastProfileAndTheCurrentOneOnDelete) {
    ASSERT_EQ(Run({"new", "A"}), kExitOk);
    ExpectRefused({"delete", "0"});
    ASSERT_EQ(Run({"new", "B"}), kExitOk);
    ASSERT_EQ(Run({"new", "C"}), kExitOk);
    ASSERT_EQ(Run({"select", "1"}), kExitOk);
    ASSERT_EQ(Run({"delete", "0"}), kExitOk);
    ProfileStore store = Load();
    EXPECT_EQ(FieldText(CurrentProfile(store)->ProFileName), u"B");
    ASSERT_EQ(Run({"delete", "0"}), kExitOk);  // the current one: the next takes its place
    store = Load();
    EXPECT_EQ(FieldText(CurrentProfile(store)->ProFileName), u"C");
    EXPECT_EQ(store.values.number, 1);
}

TEST_F(Gmconfig, RenameSavesWithoutApplying) {
    ASSERT_EQ(Run({"new", "Work"}), kExitOk);
    const int notified = platform.notified;
    ASSERT_EQ(Run({"rename", "0", "  Office  "}), kExitOk);
    EXPECT_EQ(platform.notified, notified);
    EXPECT_EQ(FieldText(Load().profiles[0]->ProFileName), u"Office");
    // Another profile's name in other letters' case is taken, beyond ASCII too.
    ASSERT_EQ(Run({"new", "B\xC3\xBCro"}), kExitOk);
    ExpectRefused({"rename", "0", "B\xC3\x9CRO"});
    ASSERT_EQ(Run({"new", "B\xC3\x9CRO"}), kExitOk);
    EXPECT_EQ(out, "2 B\xC3\x9CRO_1\n");
}

TEST_F(Gmconfig, ExportAndImportRoundTripANonAsciiProfile) {
    ASSERT_EQ(Run({"new", "\xC3\x89lite \xE5\xB0\x84\xE5\x87\xBB"}), kExitOk);
    ASSERT_EQ(Run({"set", "PollingRate=1", "MaxDPI=2", "CpiStep=1", "LightDir=3"}), kExitOk);
    ASSERT_EQ(Run({"button", "3", "launch", "C:\\Program Files\\Game\\game.exe"}), kExitOk);
    const auto file = dir / "\xC3\xA9xport.gmp";
    ASSERT_EQ(Run({"export", "0", file.string()}), kExitOk);
    ASSERT_EQ(Run({"import", file.string()}), kExitOk);
    EXPECT_EQ(out, "1 \xC3\x89lite \xE5\xB0\x84\xE5\x87\xBB_1\n");
    // The program the shared profile would start is named before it is used.
    EXPECT_EQ(err, "button 3 starts program: C:\\Program Files\\Game\\game.exe\n");
    const ProfileStore store = Load();
    ASSERT_EQ(store.profiles.size(), 2u);
    const ProfileRecord& a = *store.profiles[0];
    const ProfileRecord& b = *store.profiles[1];
    EXPECT_EQ(store.values.ProfileID, 1);
    EXPECT_EQ(b.PollingRate, 1);
    EXPECT_EQ(b.CpiStep, 1);
    EXPECT_EQ(std::memcmp(b.MacroKeyInfo, a.MacroKeyInfo, sizeof a.MacroKeyInfo), 0);
    EXPECT_EQ(b.MaxDPI, 5);   // not carried by the file: the reset value
    EXPECT_EQ(b.LightDir, 1);
    ASSERT_EQ(Run({"show", "1"}), kExitOk);
    EXPECT_NE(out.find("MacroKeyInfo3=G9 launch: launch \"C:\\Program Files\\Game\\game.exe\""), std::string::npos)
        << out;
}

TEST_F(Gmconfig, AssignsButtonsAndMacros) {
    ASSERT_EQ(Run({"new"}), kExitOk);
    MacroLibrary library;
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    CopyToField(macro->name, u"Burst");
    macro->eventCount = 2;
    macro->events[0] = {4, 1, 0};
    macro->events[1] = {4, 2, 0};
    library.push_back(std::move(macro));
    ASSERT_TRUE(SaveMacroLibrary(MacroLibraryPath(dir.path()), library));
    ASSERT_EQ(Run({"button", "5", "macro", "0", "1", "200"}), kExitOk);
    ASSERT_EQ(Run({"button", "4", "key", "41"}), kExitOk);
    ASSERT_EQ(Run({"button", "1", "mouse", "1"}), kExitOk);
    ASSERT_EQ(Run({"button", "0", "media", "30"}), kExitOk);  // allowed now: button 1 also clicks
    ASSERT_EQ(Run({"button", "2", "mouse", "9"}), kExitOk);
    ASSERT_EQ(Run({"show", "0"}), kExitOk);
    EXPECT_NE(out.find("MacroKeyInfo2=G3 mouse: tilt right (code 9)"), std::string::npos) << out;
    const ProfileStore store = Load();
    const ProfileRecord& p = *store.profiles[0];
    EXPECT_EQ(p.MacroKeyInfo[5].FunctionCode, kCodeMacro);
    EXPECT_EQ(p.MacroKeyInfo[5].repeatCount, 200);
    EXPECT_EQ(p.MacroKeyInfo[5].eventCount, 2);
    EXPECT_EQ(FieldText(p.MacroKeyInfo[5].macroName), u"Burst");
    EXPECT_EQ(p.MacroKeyInfo[4].keyCode(), 41);
    EXPECT_EQ(p.MacroKeyInfo[0].FunctionClass, kClassMedia);
    EXPECT_EQ(store.values.KeysFlag, 1);
    EXPECT_EQ(store.values.AttributeFlag, 0);

    ASSERT_EQ(Run({"macros"}), kExitOk);
    EXPECT_EQ(out, "0 Burst (2 steps)\n");
    ASSERT_EQ(Run({"macro-export", "0", (dir / "b.macro").string()}), kExitOk);
    ASSERT_EQ(Run({"macro-import", (dir / "b.macro").string()}), kExitOk);
    EXPECT_EQ(out, "1 Burst_1\n");
}

TEST_F(Gmconfig, RefusesADamagedStore) {
    std::filesystem::create_directories(StorePath().parent_path());
    WriteBytes(StorePath(), std::string("\x01\x02garbage\xff", 11));
    ExpectRefused({"new"});
    ExpectRefused({"list"});
}

TEST_F(Gmconfig, HoldsTheMonitorsLockForEveryReadAndWriteOfTheStore) {
    platform.withLock = true;
    const LockLog& lock = platform.lock;
    ASSERT_EQ(Run({"new"}), kExitOk);
    EXPECT_EQ(Load().profiles.size(), 1u);
    EXPECT_EQ(lock.opened, 1);
    EXPECT_EQ(lock.acquired, 2) << "one turn to load, one to save";
    EXPECT_EQ(lock.released, lock.acquired);
    EXPECT_EQ(lock.releasedUnheld, 0);
    // The store changes only inside a turn: as each turn began it was as the
    // last one had left it.
    ASSERT_EQ(lock.storeAtAcquire.size(), lock.storeAtRelease.size());
    std::string between;  // no store before the first run
    for (size_t i = 0; i < lock.storeAtAcquire.size(); ++i) {
        EXPECT_EQ(lock.storeAtAcquire[i], between) << "written outside the lock before turn " << i;
        between = lock.storeAtRelease[i];
    }
    EXPECT_EQ(ReadBytes(StorePath()), between) << "written after the last turn";

    // A reader takes one turn and changes nothing.
    platform.lock = LockLog{};
    ASSERT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(lock.opened, 1);
    EXPECT_EQ(lock.acquired, 1);
    EXPECT_EQ(lock.released, 1);
    EXPECT_EQ(lock.storeAtRelease, lock.storeAtAcquire);
}

TEST_F(Gmconfig, ALockThatCannotBeTakenIsNeverReleased) {
    // A Monitor's lock left abandoned: the wait fails. gmconfig still works,
    // and never gives back a lock it does not hold.
    platform.withLock = true;
    platform.lock.refuse = true;
    ASSERT_EQ(Run({"new"}), kExitOk);
    EXPECT_EQ(Load().profiles.size(), 1u);
    EXPECT_GE(platform.lock.attempts, 1);
    EXPECT_EQ(platform.lock.released, 0);
}

TEST_F(Gmconfig, DocumentsEveryCommand) {
    ASSERT_EQ(Run({"--help"}), kExitOk);
    for (const char* command : {"list", "show", "select", "new", "delete", "rename", "set", "button", "export",
                                "import", "macros", "macro-export", "macro-import"})
        EXPECT_NE(out.find(std::string("  ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(Run({}), kExitBadInput);
}
