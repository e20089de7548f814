#include "assign_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "macro_record.h"

namespace {

using assign::AssignModel;

constexpr uint8_t kDeviceA = 4;

ButtonAssignment DefaultRecord(int index) {
    ButtonAssignment record;
    ResetToDefault(record, index);
    return record;
}

std::unique_ptr<MacroRecord> Macro(std::u16string_view name, int steps) {
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    CopyToField(macro->name, name);
    macro->eventCount = steps;
    for (int i = 0; i < steps; ++i) macro->events[i] = MacroEvent{static_cast<uint8_t>(10 + i), 1, 0};
    return macro;
}

TEST(AssignPages, OpeningShowsTheRecordsOwnPageAndKeepsItsChoice) {
    UsKeyboardLayout us;
    ButtonAssignment key = DefaultRecord(3);
    key.FunctionClass = kClassKeyboardKey;
    key.FunctionCode = kCodeKeyboardKey;
    key.setKey(kDeviceA);
    AssignModel model(key, 3);
    model.Open();
    EXPECT_EQ(model.Page(), kClassKeyboardKey);
    EXPECT_EQ(model.Record().keyCode(), kDeviceA);
    // Another key replaces the first at once; a key the mouse cannot send stores 0.
    EXPECT_EQ(model.TakeKey(0x42, us), u"B");
    EXPECT_EQ(model.Record().keyCode(), 5);
    EXPECT_EQ(model.TakeKey(0xFF, us), u"");
    EXPECT_EQ(model.Record().keyCode(), 0);
    EXPECT_EQ(model.Accept().FunctionCode, DefaultFunctionCode(3)) << "a key page without a key gives the default";

    ButtonAssignment odd = DefaultRecord(2);
    odd.FunctionClass = 42;
    AssignModel unknown(odd, 2);
    unknown.Open();
    EXPECT_EQ(unknown.Page(), kClassDefault);
    EXPECT_EQ(unknown.Record().FunctionCode, DefaultFunctionCode(2));
    EXPECT_EQ(unknown.ButtonNumber(), 3);
}

TEST(AssignPages, CtrlAltEndEndsTheKeyPagesListeningAndKeepsTheKeyTaken) {
    UsKeyboardLayout us;
    AssignModel model(DefaultRecord(3), 3);
    model.Open();
    ASSERT_TRUE(model.ChooseCategory(kClassKeyboardKey));
    auto hear = [&](uint32_t key, bool release = false) { return model.HearKey(key, release, us); };
    EXPECT_EQ(hear(0x41).name, u"A");
    EXPECT_FALSE(hear(0x41, true).ended);
    // Ctrl and Alt are held back: the box keeps showing A while they may start the combination.
    EXPECT_FALSE(hear(0xA2).name);
    EXPECT_FALSE(hear(0xA4).name);
    const AssignModel::Heard end = hear(0x23);
    EXPECT_TRUE(end.ended);
    EXPECT_FALSE(end.name);
    EXPECT_EQ(model.Record().keyCode(), kDeviceA);
    // In another order they are keys like any other: the last one taken wins.
    model.StartListening();
    EXPECT_EQ(hear(0xA4).name, u"Left Alt");
    EXPECT_FALSE(hear(0xA2).name);
    const AssignModel::Heard other = hear(0x23);
    EXPECT_FALSE(other.ended);
    EXPECT_EQ(other.name, u"End");
    // A lone Ctrl, released, is taken.
    EXPECT_EQ(hear(0xA2, true).name, u"Left Ctrl");
    EXPECT_FALSE(hear(0xA2).name);
    EXPECT_EQ(hear(0xA2, true).name, u"Left Ctrl");
    EXPECT_EQ(model.Record().keyCode(), 224);
}

TEST(AssignPages, EnteringAPageKeepsItsOwnCodesAndResetsOthers) {
    AssignModel model(DefaultRecord(1), 1);
    model.Open();
    ASSERT_TRUE(model.ChooseCategory(kClassMouseFunction));
    EXPECT_EQ(model.Record().FunctionCode, 2) << "the right button's default is a mouse function of its own";
    ASSERT_TRUE(model.ChooseMenu(1006));
    EXPECT_EQ(model.Record().FunctionCode, 6);
    model.ChooseCategory(kClassDpiFunction);
    EXPECT_EQ(model.Record().FunctionCode, 13);
    model.ChooseCategory(kClassMouseFunction);
    EXPECT_EQ(model.Record().FunctionCode, 1) << "back on the mouse page its first function, not the earlier choice";
    EXPECT_EQ(model.Record().FunctionClass, kClassMouseFunction);

    model.ChooseCategory(kClassMedia);
    EXPECT_EQ(model.Record().FunctionCode, 31);
    EXPECT_TRUE(model.ChooseMenu(1005));
    EXPECT_EQ(model.Record().FunctionCode, 28);
    EXPECT_FALSE(model.ChooseMenu(1008)) << "the media menu has seven entries";
    model.ChooseCategory(kClassShortcut);
    EXPECT_EQ(model.Record().FunctionCode, 112);
    model.ChooseMenu(1006);
    EXPECT_EQ(model.Record().FunctionCode, 117);

    model.ChooseCategory(kClassDisabled);
    EXPECT_EQ(model.Record().FunctionClass, kClassDisabled);
    EXPECT_EQ(model.Record().FunctionCode, 0);
    EXPECT_EQ(model.Record().macroIndex, -1);
    EXPECT_EQ(model.Record().repeatCount, 2);
    model.ChooseCategory(kClassDefault);
    EXPECT_EQ(model.Record().FunctionCode, DefaultFunctionCode(1));
    EXPECT_FALSE(model.ChooseCategory(10));
    EXPECT_FALSE(model.ChooseCategory(0));
}

TEST(AssignPages, AMacroIsCopiedWithItsNameCutToTheButtonsField) {
    MacroLibrary library;
    library.push_back(Macro(u"Short", 2));
    library.push_back(Macro(u"A macro name of thirty characters", 5));
    AssignModel model(DefaultRecord(4), 4);
    model.Open();
    model.ChooseCategory(kClassMacro);
    EXPECT_EQ(model.Record().FunctionCode, 0) << "no macro yet";
    EXPECT_FALSE(model.ChooseMacro(library, 2));
    ASSERT_TRUE(model.ChooseMacro(library, 1));
    const ButtonAssignment& r = model.Record();
    EXPECT_EQ(r.FunctionCode, kCodeMacro);
    EXPECT_EQ(r.macroIndex, 1);
    EXPECT_EQ(FieldText(r.macroName), u"A macro name of thirty ");
    EXPECT_EQ(r.eventCount, 5);
    EXPECT_EQ(r.events[4].keyCode, 14);
    EXPECT_TRUE(model.ChooseRepeatMode(1002));
    EXPECT_EQ(model.Record().repeatMode, 1);
    EXPECT_FALSE(model.ChooseRepeatMode(1005));
    EXPECT_EQ(model.TypeRepeatCount(u"999", false).writeBack, u"255");
    EXPECT_EQ(model.Record().repeatCount, 255);
    EXPECT_EQ(model.Accept().FunctionCode, kCodeMacro);

    AssignModel none(DefaultRecord(4), 4);
    none.ChooseCategory(kClassMacro);
    EXPECT_EQ(none.Accept().FunctionCode, DefaultFunctionCode(4)) << "OK without a macro gives the default";
    EXPECT_EQ(none.Record().FunctionClass, kClassDefault);
}

TEST(AssignPages, TheRepeatCountIsKeptInRangeWithoutFightingTheTyping) {
    using assign::ReadRepeatCount;
    EXPECT_EQ(ReadRepeatCount(u"1", false).value, 2);
    EXPECT_FALSE(ReadRepeatCount(u"1", false).writeBack) << "typing 12 passes through 1";
    EXPECT_EQ(ReadRepeatCount(u"1", true).writeBack, u"2");
    EXPECT_EQ(ReadRepeatCount(u"  12", false).value, 12);
    EXPECT_EQ(ReadRepeatCount(u"256", false).writeBack, u"255");
    EXPECT_EQ(ReadRepeatCount(u"99999999999999999999", false).value, 255);
    EXPECT_EQ(ReadRepeatCount(u"", true).writeBack, u"2");
    EXPECT_EQ(ReadRepeatCount(u"7x", true).writeBack, u"7");
    EXPECT_FALSE(ReadRepeatCount(u"255", true).writeBack);
}

TEST(AssignPages, LaunchChoicesShareTheTextAndNeedOne) {
    AssignModel model(DefaultRecord(14), 14);
    model.Open();
    model.ChooseCategory(kClassLaunch);
    EXPECT_EQ(model.Record().FunctionCode, kCodeLaunchProgram);
    EXPECT_EQ(model.Accept().FunctionClass, kClassDefault) << "no program: the default";

    model.ChooseCategory(kClassLaunch);
    model.SetProgram(u"C:\\Games\\arena.exe");
    model.ChooseCommand();
    EXPECT_TRUE(model.CommandChosen());
    const ButtonAssignment& kept = model.Accept();
    EXPECT_EQ(kept.FunctionCode, kCodeLaunchCommand);
    EXPECT_EQ(FieldText(kept.program), u"C:\\Games\\arena.exe") << "the path stays for the typed command";

    AssignModel typed(kept, 14);
    typed.Open();
    EXPECT_EQ(typed.Page(), kClassLaunch);
    typed.SetCommandText(u"   notepad readme.txt");
    EXPECT_EQ(FieldText(typed.Record().program), u"notepad readme.txt");
    typed.ChooseProgram();
    EXPECT_EQ(typed.Record().FunctionCode, kCodeLaunchProgram);
    const std::u16string longPath(400, u'x');
    typed.SetProgram(longPath);
    EXPECT_EQ(FieldText(typed.Record().program).size(), static_cast<size_t>(kProgramFieldUnits - 1));
}

}  // namespace
