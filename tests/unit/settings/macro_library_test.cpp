#include "macro_library.h"

#include <gtest/gtest.h>

#include "ini_file.h"
#include "test_support.h"

namespace {

std::unique_ptr<MacroRecord> MakeMacro(std::u16string_view name, int steps, uint8_t key = 4) {
    auto m = std::make_unique<MacroRecord>();
    std::memset(m.get(), 0, sizeof(MacroRecord));
    CopyToField(m->name, name);
    m->eventCount = steps;
    for (int i = 0; i < steps; ++i)
        m->events[i] = MacroEvent{key, static_cast<uint8_t>(i % 2 ? kPressFlagUp : kPressFlagDown),
                                  static_cast<uint16_t>(i * 10)};
    return m;
}

}  // namespace

TEST(MacroLibrary, SavesExactlyTheMacrosItHas) {
    TempFolder dir;
    const auto path = MacroLibraryPath(dir.path());
    MacroLibrary library;
    for (auto name : {u"A", u"B", u"C", u"D"}) library.push_back(MakeMacro(name, 2));
    ASSERT_TRUE(SaveMacroLibrary(path, library));
    library.pop_back();
    ASSERT_TRUE(SaveMacroLibrary(path, library));
    const CIniFile ini(path);
    EXPECT_EQ(ini.ReadInt(u"Macros", u"number", -1), 3);
    EXPECT_TRUE(ini.HasKey(u"Macros", u"2"));
    EXPECT_FALSE(ini.HasKey(u"Macros", u"3"));

    MacroLibrary back;
    LoadMacroLibrary(path, back);
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(std::memcmp(back[i].get(), library[i].get(), sizeof(MacroRecord)), 0);
}

TEST(MacroLibrary, LoadsDamagedEntriesAsEmptyMacrosAndNeverOverreaches) {
    TempFolder dir;
    const auto path = MacroLibraryPath(dir.path());
    MacroLibrary library;
    library.push_back(MakeMacro(u"Good", 3));
    auto hostile = MakeMacro(u"Hostile", 0);
    hostile->eventCount = 100000;
    hostile->name[kMacroNameUnits - 1] = u'X';  // no terminator
    library.push_back(std::move(hostile));
    ASSERT_TRUE(SaveMacroLibrary(path, library));
    CIniFile ini(path);
    ini.WriteInt(u"Macros", u"number", 2000000000);
    ini.WriteString(u"Macros", u"3", u"DEADBEEF");
    ASSERT_TRUE(ini.Commit());

    MacroLibrary back;
    LoadMacroLibrary(path, back);
    ASSERT_EQ(back.size(), 4u);  // up to the last entry present, not two billion
    EXPECT_EQ(back[1]->eventCount, kMaxMacroEvents);
    EXPECT_EQ(back[1]->name[kMacroNameUnits - 1], u'\0');
    EXPECT_EQ(FieldText(back[2]->name), u"");  // missing
    EXPECT_EQ(FieldText(back[3]->name), u"");  // damaged
    EXPECT_EQ(back[3]->eventCount, 0);

    MacroLibrary none;
    LoadMacroLibrary(dir / "missing.dat", none);
    EXPECT_TRUE(none.empty());
}

TEST(MacroLibrary, UniqueNamesIgnoreCaseAndStoredBlanks) {
    MacroLibrary library;
    library.push_back(MakeMacro(u" Rush ", 1));
    EXPECT_TRUE(MacroNameExists(library, u"rush"));
    EXPECT_EQ(MakeUniqueMacroName(library, u"RUSH"), u"RUSH_1");
    library.push_back(MakeMacro(u"rush_1", 1));
    EXPECT_EQ(MakeUniqueMacroName(library, u"Rush"), u"Rush_2");
    EXPECT_EQ(MakeUniqueMacroName(library, u"Other"), u"Other");
    EXPECT_EQ(FindMacroAt(library, 1), library[1].get());
    EXPECT_EQ(FindMacroAt(library, 2), nullptr);
    EXPECT_EQ(FindMacroAt(library, -1), nullptr);
    library.push_back(MakeMacro(u"Übung", 1));
    EXPECT_EQ(MakeUniqueMacroName(library, u"üBUNG"), u"üBUNG_1");
}

TEST(MacroFile, ExportAndImportGiveTheSameRecord) {
    TempFolder dir;
    auto macro = MakeMacro(u"Combo \u5c04", 160, 0xF0);
    macro->reserved = 77;
    const auto path = dir / "combo.macro";
    ASSERT_TRUE(ExportMacro(*macro, path));
    MacroRecord back;
    ASSERT_TRUE(ImportMacro(path, back));
    EXPECT_EQ(std::memcmp(&back, macro.get(), sizeof back), 0);
    WriteBytes(dir / "other.macro", "[Macros]\r\n0=00\r\n");
    ASSERT_TRUE(ImportMacro(dir / "other.macro", back));
    EXPECT_EQ(FieldText(back.name), u"");
    EXPECT_FALSE(ImportMacro(dir / "missing.macro", back));
}

TEST(MacroAssignments, FollowTheLibrary) {
    ProfileRecord profile;
    InitNewProfile(profile, u"P");
    auto assign = [&](int button, std::u16string_view name) {
        ButtonAssignment& b = profile.MacroKeyInfo[button];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        b.macroIndex = 0;
        b.repeatMode = 1;
        b.repeatCount = 9;
        CopyToField(b.macroName, name);
        b.eventCount = 1;
    };
    MacroLibrary library;
    library.push_back(MakeMacro(u"  Reload  ", 4, 21));
    library.push_back(MakeMacro(u"A name longer than the button field", 2, 22));
    library.push_back(MakeMacro(u"Übung", 3, 23));
    assign(3, u"reload");
    assign(5, u"übung");
    assign(4, u"Gone");
    // A button holds a long name cut to 23 characters; it must still be found.
    assign(9, u"A name longer than the ");
    profile.MacroKeyInfo[4].program[5] = u'k';  // bytes outside the function stay
    SyncMacroAssignments(profile, library);

    const ButtonAssignment& reload = profile.MacroKeyInfo[3];
    EXPECT_EQ(reload.eventCount, 4);
    EXPECT_EQ(FieldText(reload.macroName), u"  Reload  ");
    EXPECT_EQ(reload.events[3].keyCode, 21);
    EXPECT_EQ(reload.repeatMode, 1);
    EXPECT_EQ(reload.repeatCount, 9);
    const ButtonAssignment& gone = profile.MacroKeyInfo[4];
    EXPECT_EQ(gone.FunctionCode, DefaultFunctionCode(4));
    EXPECT_EQ(gone.FunctionClass, kClassDefault);
    EXPECT_EQ(gone.program[5], u'k');
    EXPECT_EQ(profile.MacroKeyInfo[9].FunctionCode, kCodeMacro);
    EXPECT_EQ(profile.MacroKeyInfo[9].events[0].keyCode, 22);
    EXPECT_EQ(FieldText(profile.MacroKeyInfo[9].macroName), u"A name longer than the ");
    EXPECT_EQ(profile.MacroKeyInfo[5].FunctionCode, kCodeMacro);
    EXPECT_EQ(FieldText(profile.MacroKeyInfo[5].macroName), u"Übung");
}

TEST(MacroAssignments, FollowARenameInsteadOfFallingBack) {
    ProfileRecord profile;
    InitNewProfile(profile, u"P");
    for (int button : {3, 5}) {
        ButtonAssignment& b = profile.MacroKeyInfo[button];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        CopyToField(b.macroName, button == 3 ? u"reload" : u"Other");
    }
    MacroLibrary library;
    library.push_back(MakeMacro(u" Reload ", 0));
    EXPECT_EQ(RenameMacroAssignments(profile, library, 0, u"Quick reload"), 1);
    CopyToField(profile.MacroKeyInfo[3].macroName, u"Nachladen übers Menü");
    library[0] = MakeMacro(u"NACHLADEN ÜBERS MENÜ", 0);
    EXPECT_EQ(RenameMacroAssignments(profile, library, 0, u"Quick reload"), 1);

    library[0] = MakeMacro(u"Quick reload", 3, 30);
    SyncMacroAssignments(profile, library);
    EXPECT_EQ(profile.MacroKeyInfo[3].FunctionCode, kCodeMacro);
    EXPECT_EQ(FieldText(profile.MacroKeyInfo[3].macroName), u"Quick reload");
    EXPECT_EQ(profile.MacroKeyInfo[3].events[2].keyCode, 30);
    // Another macro's button is not renamed, and its macro is gone now.
    EXPECT_EQ(profile.MacroKeyInfo[5].FunctionCode, DefaultFunctionCode(5));
    EXPECT_EQ(RenameMacroAssignments(profile, library, 1, u"x"), 0);
}

// Names that agree in the 23 characters a button keeps: each button stays
// with the macro it was given, through edits, renames and deletes.
TEST(MacroAssignments, TwinsWithTheSameFieldNameKeepTheirOwnButtons) {
    const std::u16string stem = u"abcdefghijklmnopqrst";  // the longest a user types
    MacroLibrary library;
    library.push_back(MakeMacro(u"Other", 1, 9));
    library.push_back(MakeMacro(stem + u"_Copy", 2, 10));
    library.push_back(MakeMacro(stem + u"_Copy_1", 4, 11));
    ProfileRecord profile;
    InitNewProfile(profile, u"P");
    auto give = [&](int button, int position) {
        ButtonAssignment& b = profile.MacroKeyInfo[button];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        b.macroIndex = position;
        const MacroRecord& m = *library[static_cast<size_t>(position)];
        CopyToField(b.macroName, FieldText(m.name));
        b.eventCount = static_cast<uint16_t>(m.eventCount);
        std::memcpy(b.events, m.events, sizeof b.events);
    };
    auto plays = [&](int button) { return AssignedMacroPosition(profile.MacroKeyInfo[button], library); };
    give(3, 1);
    give(5, 2);
    give(9, 0);
    ASSERT_EQ(FieldText(profile.MacroKeyInfo[5].macroName), stem + u"_Co");
    EXPECT_EQ(plays(3), 1);
    EXPECT_EQ(plays(5), 2);
    // Another program moved the list: the button's own steps still tell.
    profile.MacroKeyInfo[5].macroIndex = 1;
    EXPECT_EQ(plays(5), 2);
    profile.MacroKeyInfo[5].macroIndex = 2;

    // The second twin is edited: its buttons take its new steps, not the first's.
    library[2]->events[0].keyCode = 12;
    SyncMacroAssignments(profile, library);
    EXPECT_EQ(profile.MacroKeyInfo[5].events[0].keyCode, 12);
    EXPECT_EQ(profile.MacroKeyInfo[5].eventCount, 4);
    EXPECT_EQ(profile.MacroKeyInfo[3].events[0].keyCode, 10);

    // Renaming the first twin renames only its buttons.
    EXPECT_EQ(RenameMacroAssignments(profile, library, 1, u"Fire"), 1);
    EXPECT_EQ(FieldText(profile.MacroKeyInfo[3].macroName), u"Fire");
    EXPECT_EQ(FieldText(profile.MacroKeyInfo[5].macroName), stem + u"_Co");
    CopyToField(library[1]->name, u"Fire");
    EXPECT_EQ(plays(3), 1);

    // Deleting a twin resets only its own buttons, though the other twin
    // still answers to their name; the others' index follows the list.
    library.push_back(MakeMacro(stem + u"_Copy_2", 3, 13));
    give(6, 3);
    EXPECT_EQ(ForgetMacroAssignments(profile, library, 2), 2);
    library.erase(library.begin() + 2);
    SyncMacroAssignments(profile, library);
    EXPECT_EQ(profile.MacroKeyInfo[5].FunctionCode, DefaultFunctionCode(5));
    EXPECT_EQ(profile.MacroKeyInfo[5].FunctionClass, kClassDefault);
    EXPECT_EQ(profile.MacroKeyInfo[6].FunctionCode, kCodeMacro);
    EXPECT_EQ(profile.MacroKeyInfo[6].macroIndex, 2);
    EXPECT_EQ(profile.MacroKeyInfo[6].events[0].keyCode, 13);
    EXPECT_EQ(profile.MacroKeyInfo[3].macroIndex, 1);
    EXPECT_EQ(ForgetMacroAssignments(profile, library, 7), 0);
}
