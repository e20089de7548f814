#include "profile_store.h"

#include <gtest/gtest.h>

#include "ini_file.h"
#include "shared_lock.h"
#include "test_support.h"

namespace {

std::unique_ptr<ProfileRecord> NewProfile(std::u16string_view name) {
    auto r = std::make_unique<ProfileRecord>();
    InitNewProfile(*r, name);
    return r;
}

ProfileStore StoreOf(std::initializer_list<std::u16string_view> names) {
    ProfileStore store;
    for (auto name : names) store.profiles.push_back(NewProfile(name));
    store.values.ProfileID = 0;
    ClearAllParts(store.values);
    return store;
}

ProfileStore Load(const std::filesystem::path& path) {
    ProfileStore store;
    LoadProfileStore(path, store);
    return store;
}

// Writes a store file by hand, as an older program or an editor would.
void WriteStoreText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    WriteBytes(path, text);
}

}  // namespace

TEST(ProfileStore, SavesAndLoadsEveryProfileInOrder) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore store = StoreOf({u"One", u"Two", u"Three"});
    store.values.ProfileID = 1;
    store.values.KeysFlag = 1;
    store.profiles[2]->CpiLevel_X[4] = 77;
    ASSERT_TRUE(SaveProfileStore(path, store));

    const ProfileStore back = Load(path);
    EXPECT_EQ(back.values.number, 3);
    EXPECT_EQ(back.values.ProfileID, 1);
    EXPECT_EQ(back.values.KeysFlag, 1);
    EXPECT_EQ(back.values.AttributeFlag, 0);
    ASSERT_EQ(back.profiles.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(SameRecord(*back.profiles[i], *store.profiles[i])) << i;

    const CIniFile ini(path);
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"Config", u"Profile0", u"Profile1", u"Profile2"}));
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("[Config]\r\nnumber=3\r\nProfileID=1\r\nKeysFlag=1\r\nAttributeFlag=0\r\n", 0), 0u);
    // Each button is one 1232-byte value: 2464 hex digits and 2 check digits.
    const size_t key = bytes.find("MacroKeyInfo0=");
    ASSERT_NE(key, std::string::npos);
    EXPECT_EQ(bytes.find("\r\n", key) - key - 14, 2466u);
}

TEST(ProfileStore, RandomProfilesSurviveSaveAndLoad) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    std::mt19937 rng(7741);
    for (int round = 0; round < 5; ++round) {
        ProfileStore store;
        const int count = 1 + round * 3;
        for (int i = 0; i < count; ++i) {
            auto r = std::make_unique<ProfileRecord>();
            FillRandomProfile(*r, rng);
            store.profiles.push_back(std::move(r));
        }
        store.values = StoreValues{0, count - 1, 1, 0, 1, 0};
        ASSERT_TRUE(SaveProfileStore(path, store));
        const ProfileStore back = Load(path);
        ASSERT_EQ(back.profiles.size(), store.profiles.size());
        for (int i = 0; i < count; ++i) EXPECT_TRUE(SameRecord(*back.profiles[i], *store.profiles[i])) << round << "/" << i;
    }
}

TEST(ProfileStore, DeletingAProfileRenumbersTheSections) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore store = StoreOf({u"A", u"B", u"C"});
    store.profiles.erase(store.profiles.begin());
    ASSERT_TRUE(SaveProfileStore(path, store));
    const CIniFile ini(path);
    EXPECT_EQ(ini.ReadString(u"Profile0", u"ProFileName", u""), u"B");
    EXPECT_EQ(ini.ReadInt(u"Config", u"number", 0), 2);
    EXPECT_FALSE(ini.HasSection(u"Profile2"));
}

TEST(ProfileStore, MissingFileMeansNoProfileAndEveryValueUnset) {
    TempFolder dir;
    const ProfileStore store = Load(ProfileStorePath(dir.path()));
    EXPECT_TRUE(store.profiles.empty());
    EXPECT_EQ(store.values.ProfileID, -1);
    EXPECT_EQ(store.values.PRateFlag, -1);
}

TEST(ProfileStore, ReadsDamagedAndPartialSectionsWithDefaults) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileRecord sample;
    InitNewProfile(sample, u"x");
    sample.MacroKeyInfo[3].eventCount = 200;
    sample.MacroKeyInfo[3].events[159].delay = 1234;
    CIniFile ini(path);
    ini.Clear();
    ini.WriteInt(u"Config", u"number", 3);
    ini.WriteInt(u"Config", u"ProfileID", 0);
    ini.WriteString(u"Profile0", u"ProFileName", std::u16string(80, u'n'));
    ini.WriteInt(u"Profile0", u"dpiStepFlag0", 256);
    ini.WriteStruct(u"Profile0", u"MacroKeyInfo3", &sample.MacroKeyInfo[3], sizeof(ButtonAssignment));
    ini.WriteString(u"Profile0", u"MacroKeyInfo5", u"00FF");  // wrong length
    ini.WriteString(u"Profile2", u"ProFileName", std::u16string(u"Last\0hidden", 11));
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(ini.Commit());

    const ProfileStore store = Load(path);
    ASSERT_EQ(store.profiles.size(), 3u);
    const ProfileRecord& first = *store.profiles[0];
    EXPECT_EQ(FieldText(first.ProFileName), std::u16string(49, u'n'));  // cut to the field
    EXPECT_EQ(first.dpiStepFlag[0], 0);                                 // low 8 bits of 256
    EXPECT_EQ(first.dpiIndicator[3], 255);                              // missing
    EXPECT_EQ(first.MouseSpeed, -1);
    EXPECT_EQ(first.MacroKeyInfo[3].eventCount, 160);
    EXPECT_EQ(first.MacroKeyInfo[3].events[159].delay, 1234);  // the rest is kept
    // A missing or damaged button gets its own default, not zeros.
    for (int b : {0, 5, 15}) {
        ButtonAssignment expected;
        ResetToDefault(expected, b);
        EXPECT_EQ(std::memcmp(&first.MacroKeyInfo[b], &expected, sizeof expected), 0) << b;
    }
    // The gap below the last section present loads as defaults.
    EXPECT_EQ(FieldText(store.profiles[1]->ProFileName), u"");
    EXPECT_EQ(store.profiles[1]->CpiStep, -1);
    EXPECT_EQ(FieldText(store.profiles[2]->ProFileName), u"Last");
    EXPECT_EQ(store.profiles[2]->ProFileName[5], u'\0');  // nothing hides behind the terminator
}

TEST(ProfileStore, AHugeNumberDoesNotInventProfiles) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    WriteStoreText(path, "[Config]\r\nnumber=2147483647\r\nProfileID=1\r\n[Profile0]\r\nProFileName=A\r\n"
                         "[Profile2]\r\nProFileName=C\r\n[Profile9x]\r\n[Profile07]\r\n");
    const ProfileStore store = Load(path);
    EXPECT_EQ(store.profiles.size(), 3u);
    WriteStoreText(path, "[Config]\r\nnumber=2147483647\r\n");
    EXPECT_TRUE(Load(path).profiles.empty());
    // More sections than "number": the extra ones are ignored.
    WriteStoreText(path, "[Config]\r\nnumber=1\r\n[Profile0]\r\n[Profile1]\r\n");
    EXPECT_EQ(Load(path).profiles.size(), 1u);
}

TEST(ProfileStore, LockedOperationsNeedTheLock) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore store = StoreOf({u"A"});
    EXPECT_FALSE(SaveProfileStoreLocked(nullptr, path, store));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(SaveProfileStore(path, store));  // the caller's fallback still writes
    InProcessLock lock;
    store.profiles[0]->MouseSpeed = 17;
    EXPECT_TRUE(SaveProfileStoreLocked(&lock, path, store));
    ProfileStore back;
    EXPECT_FALSE(LoadProfileStoreLocked(nullptr, path, back));
    EXPECT_TRUE(back.profiles.empty());
    EXPECT_TRUE(LoadProfileStoreLocked(&lock, path, back));
    EXPECT_EQ(back.profiles.at(0)->MouseSpeed, 17);
    // The lock is free again afterwards.
    EXPECT_TRUE(lock.Acquire());
    lock.Release();
}

TEST(ProfileNames, CompareTrimmedStoredNamesWithoutCase) {
    ProfileStore store = StoreOf({u" Game ", u"Profile2", u"Profile2_1"});
    EXPECT_TRUE(ProfileNameExists(store.profiles, u"game"));
    EXPECT_FALSE(ProfileNameExists(store.profiles, u" game"));
    EXPECT_EQ(MakeUniqueName(store.profiles, u"Profile2"), u"Profile2_2");
    EXPECT_EQ(MakeUniqueName(store.profiles, u"New"), u"New");
    // Letters beyond ASCII fold too; the name is kept as it was typed.
    store.profiles.push_back(NewProfile(u"Büro"));
    EXPECT_TRUE(ProfileNameExists(store.profiles, u"BÜRO"));
    EXPECT_EQ(MakeUniqueName(store.profiles, u"BÜRO"), u"BÜRO_1");
    EXPECT_EQ(FindProfileByName(store.profiles, u"büro"), 3);
    EXPECT_EQ(FieldText(store.profiles[3]->ProFileName), u"Büro");
    EXPECT_FALSE(ProfileNameExists(store.profiles, u"BURO"));
    // A name that would outgrow its field is cut before the number, never overrun.
    const std::u16string longName(49, u'L');
    store.profiles.push_back(NewProfile(longName));
    const std::u16string unique = MakeUniqueName(store.profiles, longName);
    EXPECT_EQ(unique.size(), 49u);
    EXPECT_EQ(unique.substr(47), u"_1");
}

TEST(ProfileReset, KeepsNameLightTypeAndTheTwoSpareColours) {
    ProfileRecord r;
    std::mt19937 rng(1);
    FillRandomProfile(r, rng);
    const ProfileRecord before = r;
    ResetProfile(r);
    EXPECT_EQ(FieldText(r.ProFileName), FieldText(before.ProFileName));
    EXPECT_EQ(r.LightType, before.LightType);
    EXPECT_EQ(r.DPIColor[5], before.DPIColor[5]);
    EXPECT_EQ(r.DPIColor[6], before.DPIColor[6]);
    EXPECT_EQ(r.DPIColor[0], 0x00FFFF);
    EXPECT_EQ(r.CpiLevel_X[4], 45);
    EXPECT_EQ(r.PollingRate, 2);
    EXPECT_EQ(r.dpiIndicator[3], 19);
    EXPECT_EQ(FieldText(r.GameFile), u"");
    EXPECT_EQ(r.MacroKeyInfo[5].FunctionCode, 14);
    EXPECT_EQ(r.MacroKeyInfo[5].macroIndex, -1);
    EXPECT_EQ(r.MacroKeyInfo[5].repeatCount, 2);

    ResetProfileMonitor(r);
    EXPECT_EQ(r.CpiLevel_X[0], 4);
    EXPECT_EQ(r.CpiLevel_Y[4], 50);
    EXPECT_EQ(r.LightDir, 0);
    EXPECT_EQ(r.LightSpeed, 1);
}

TEST(ProfileStore, AnEmptyStoreGetsOneFirstProfile) {
    ProfileStore store;
    EXPECT_TRUE(EnsureFirstProfile(store));
    ASSERT_EQ(store.profiles.size(), 1u);
    EXPECT_EQ(FieldText(store.profiles[0]->ProFileName), u"Profile1");
    EXPECT_EQ(store.values.ProfileID, 0);
    EXPECT_NE(CurrentProfile(store), nullptr);
    EXPECT_FALSE(EnsureFirstProfile(store));
    store.values.ProfileID = 9;  // a store pointing past its end gets a valid current profile
    EXPECT_FALSE(EnsureFirstProfile(store));
    EXPECT_EQ(store.values.ProfileID, 0);
}

TEST(PartFlags, FollowTheFieldsThatChanged) {
    ProfileRecord a;
    InitNewProfile(a, u"A");
    StoreValues v;
    auto flags = [&](const ProfileRecord& b) {
        ComputePartFlags(a, b, v);
        return std::vector<int>{v.PRateFlag, v.DPIStepFlag, v.AttributeFlag, v.KeysFlag};
    };
    EXPECT_EQ(flags(a), (std::vector<int>{0, 0, 0, 0}));
    ProfileRecord b = a;
    b.PollingRate = 8;
    EXPECT_EQ(flags(b), (std::vector<int>{1, 0, 0, 0}));
    b = a;
    b.CpiStep = 0;
    EXPECT_EQ(flags(b), (std::vector<int>{0, 1, 0, 0}));
    for (auto change : {+[](ProfileRecord& r) { r.DPIColor[6] = 1; }, +[](ProfileRecord& r) { r.CpiLevel_Y[2] = 3; },
                        +[](ProfileRecord& r) { r.LightDir = 3; }, +[](ProfileRecord& r) { r.MaxDPI = 1; }}) {
        b = a;
        change(b);
        EXPECT_EQ(flags(b), (std::vector<int>{0, 0, 1, 0}));
    }
    b = a;
    b.MacroKeyInfo[15].program[260] = 1;  // any byte of any button
    EXPECT_EQ(flags(b), (std::vector<int>{0, 0, 0, 1}));
    b = a;
    b.LightType = 4;
    b.MouseSpeed = 3;
    b.dpiIndicator[0] = 1;
    EXPECT_EQ(flags(b), (std::vector<int>{0, 0, 0, 0}));
    MarkAllParts(v);
    EXPECT_EQ(v.KeysFlag + v.AttributeFlag + v.DPIStepFlag + v.PRateFlag, 4);
}

// The Monitor's game keys live beside the values every program writes. Other
// writers keep them (and any key of "Config" they do not know) from the file
// as it is when they save, never from an older copy in their memory.
TEST(StoreGameKeys, OtherWritersKeepTheFilesKeysAndUnknownOnes) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore monitor = StoreOf({u"Desktop", u"Shooter", u"Racer"});
    const ProfileStore option = StoreOf({u"Desktop", u"Shooter", u"Racer"});  // read before the Monitor saved
    monitor.values.ProfileID = 1;
    monitor.games.home = u"Desktop";
    monitor.games.enabled = false;
    ASSERT_TRUE(SaveProfileStore(path, monitor, nullptr, GameKeys::kWrite));
    {
        CIniFile ini(path);
        ini.WriteString(u"Config", u"FutureKey", u"\"  spaced  \"");
        ASSERT_TRUE(ini.Commit());
    }

    ProfileStore sameProfile = Load(path);
    sameProfile.profiles[1]->CpiStep = 3;
    sameProfile.games = GameProfileValues{};  // what it holds is never written
    ASSERT_TRUE(SaveProfileStore(path, sameProfile));
    ProfileStore read = Load(path);
    EXPECT_EQ(read.games.home, u"Desktop");
    EXPECT_FALSE(read.games.enabled);
    EXPECT_EQ(read.profiles[1]->CpiStep, 3);
    EXPECT_EQ(CIniFile(path).ReadString(u"Config", u"FutureKey", u""), u"\"  spaced  \"");

    // Option's older copy still says Desktop is current: saving it is a choice
    // of Desktop, so the way back is gone, the switch and other keys stay.
    ASSERT_TRUE(SaveProfileStore(path, option));
    read = Load(path);
    EXPECT_EQ(read.values.ProfileID, 0);
    EXPECT_EQ(read.games.home, u"");
    EXPECT_FALSE(read.games.enabled);
    EXPECT_EQ(CIniFile(path).ReadString(u"Config", u"FutureKey", u""), u"\"  spaced  \"");
}

TEST(StoreGameKeys, TheSameProfileMovedOrRenamedIsNoChoice) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore monitor = StoreOf({u"Desktop", u"Old", u"Shooter"});
    monitor.values.ProfileID = 2;
    monitor.games.home = u"Desktop";
    ASSERT_TRUE(SaveProfileStore(path, monitor, nullptr, GameKeys::kWrite));

    ProfileStore edit = Load(path);  // a profile before the current one deleted
    edit.profiles.erase(edit.profiles.begin() + 1);
    edit.values.ProfileID = 1;
    ASSERT_TRUE(SaveProfileStore(path, edit));
    EXPECT_EQ(Load(path).games.home, u"Desktop");

    edit = Load(path);  // the current profile renamed
    CopyToField(edit.profiles[1]->ProFileName, u"Shooter 2");
    ASSERT_TRUE(SaveProfileStore(path, edit));
    EXPECT_EQ(Load(path).games.home, u"Desktop");
}

TEST(StoreGameKeys, DefaultsForOldAndDamagedFiles) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    WriteStoreText(path, "[Config]\r\nnumber=1\r\nProfileID=0\r\n");
    ProfileStore store = Load(path);
    EXPECT_TRUE(store.games.enabled);
    EXPECT_EQ(store.games.home, u"");
    WriteStoreText(path, "[Config]\r\nnumber=1\r\nProfileID=0\r\nGameProfiles=yes\r\nGameHome=\r\n");
    EXPECT_TRUE(Load(path).games.enabled);  // only an explicit 0 turns switching off
    WriteStoreText(path, "[Config]\r\nnumber=1\r\nProfileID=0\r\ngameprofiles=0\r\n");
    EXPECT_FALSE(Load(path).games.enabled);
}

TEST(ProfileNames, FindByNameTakesTheFirstTrimmedMatch) {
    const ProfileStore store = StoreOf({u"Desktop", u" shooter ", u"SHOOTER"});
    EXPECT_EQ(FindProfileByName(store.profiles, u"Shooter"), 1);
    EXPECT_EQ(FindProfileByName(store.profiles, u"desktop "), 0);
    EXPECT_EQ(FindProfileByName(store.profiles, u"Racer"), -1);
    EXPECT_EQ(FindProfileByName(store.profiles, u""), -1);
}

TEST(ProfileStore, TheHeadReadsTheCurrentRecordAsTheWholeLoadDoes) {
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    ProfileStore store = StoreOf({u"One", u"Two", u"Three"});
    store.values.ProfileID = 2;
    store.values.KeysFlag = 1;
    store.profiles[2]->MacroKeyInfo[4].FunctionClass = kClassDisabled;
    store.profiles[2]->MacroKeyInfo[4].FunctionCode = 0;
    ASSERT_TRUE(SaveProfileStore(path, store));
    const std::string bytes = ReadBytes(path);

    ProfileStore head;
    LoadStoreHead(bytes, head);
    const ProfileStore whole = Load(path);
    EXPECT_EQ(std::memcmp(&head.values, &whole.values, sizeof head.values), 0);
    ASSERT_EQ(head.profiles.size(), 3u);
    EXPECT_TRUE(SameRecord(*head.profiles[2], *whole.profiles[2]));
    EXPECT_EQ(FieldText(head.profiles[0]->ProFileName), u"");  // not read yet

    // A section that is missing, doubled or named in other case reads as in the
    // whole load; a current position past the list gives no current record.
    for (const std::string& text :
         {std::string("[Config]\r\nnumber=3\r\nProfileID=1\r\n[Profile0]\r\nMouseSpeed=4\r\n[Profile2]\r\n"),
          std::string("[Config]\r\nnumber=2\r\nProfileID=1\r\n[PROFILE1]\r\nMouseSpeed=7\r\n[profile1]\r\n"
                      "MouseSpeed=8\r\nCpiStep=3\r\n[Config]\r\nProfileID=0\r\n"),
          std::string("[Config]\r\nnumber=2\r\nProfileID=5\r\n[Profile1]\r\n")}) {
        WriteStoreText(path, text);
        ProfileStore partial;
        LoadStoreHead(text, partial);
        const ProfileStore full = Load(path);
        ASSERT_EQ(partial.profiles.size(), full.profiles.size()) << text;
        EXPECT_EQ(partial.values.ProfileID, full.values.ProfileID);
        const ProfileRecord* current = GetProfileAt(full.profiles, full.values.ProfileID);
        if (current) {
            EXPECT_TRUE(SameRecord(*partial.profiles[1], *current)) << text;
        }
    }
}

TEST(ProfileStore, SavedBytesAreTheDocumentsBytes) {
    // Names a plain writer could get wrong: blanks and quotes at the edges, a
    // line break, an empty name; then one beyond ASCII, which makes the file UTF-16.
    TempFolder dir;
    const auto path = ProfileStorePath(dir.path());
    WriteStoreText(path, "[Config]\r\nProfileID=0\r\nLanguage=de\r\nGameHome=1\r\n[Profile0]\r\nProFileName=x\r\n");
    ProfileStore store = StoreOf({u" lead", u"trail ", u"\"quoted\"", u"'one'", u"line\r\nbreak", u"", u"Plain"});
    CopyToField(store.profiles[6]->GameFile, u"C:\\Games\\a b\\game.exe ");
    store.profiles[3]->MacroKeyInfo[7].FunctionClass = kClassDisabled;
    store.values.ProfileID = 3;
    for (bool wide : {false, true}) {
        if (wide) CopyToField(store.profiles[5]->ProFileName, u"Pr\u00e9cision");
        CIniFile before(path);
        WriteProfileStore(before, store);
        const std::string expected = before.Serialize();
        ASSERT_TRUE(SaveProfileStore(path, store));
        EXPECT_EQ(ReadBytes(path), expected) << wide;
        EXPECT_EQ(static_cast<uint8_t>(expected[0]) == 0xFF, wide);
        EXPECT_NE(expected.find(wide ? std::string("L\0a\0n\0g\0") : std::string("Language=de")), std::string::npos);
        const ProfileStore back = Load(path);
        ASSERT_EQ(back.profiles.size(), store.profiles.size());
        for (size_t i = 0; i < store.profiles.size(); ++i)
            EXPECT_EQ(FieldText(back.profiles[i]->ProFileName),
                      i == 4 ? u"line  break" : FieldText(store.profiles[i]->ProFileName)) << i;
    }
}
