#include "button_assignment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "key_codes.h"

namespace {

ButtonAssignment Default(int index) {
    ButtonAssignment b;
    ResetToDefault(b, index);
    return b;
}

}  // namespace

TEST(ButtonDefaults, FollowTheButtonTable) {
    const int codes[16] = {1, 2, 3, 5, 4, 14, 15, 0, 0, 0, 0, 0, 0, 0, 7, 8};
    const int numbers[16] = {1, 2, 3, 9, 8, 4, 5, 0, 0, 0, 0, 0, 0, 0, 6, 7};
    for (int i = 0; i < 16; ++i) {
        const ButtonAssignment b = Default(i);
        EXPECT_EQ(b.buttonIndex, i);
        EXPECT_EQ(b.FunctionCode, codes[i]);
        EXPECT_EQ(b.FunctionClass, kClassDefault);
        EXPECT_EQ(b.macroIndex, -1);
        EXPECT_EQ(b.repeatCount, 2);
        EXPECT_EQ(b.repeatMode, 0);
        EXPECT_EQ(ButtonNumber(i), numbers[i]);
        // Everything else is zero.
        ButtonAssignment zero = b;
        zero.buttonIndex = 0;
        zero.FunctionCode = 0;
        zero.FunctionClass = 0;
        zero.macroIndex = 0;
        zero.repeatCount = 0;
        const ButtonAssignment allZero{};
        EXPECT_EQ(std::memcmp(&zero, &allZero, sizeof zero), 0) << i;
    }
}

TEST(ButtonCaptions, NameTheFunction) {
    UsKeyboardLayout us;
    ButtonAssignment b = Default(0);
    EXPECT_EQ(CaptionOf(b, us).textId, 1005);
    b.FunctionCode = 31;
    EXPECT_EQ(CaptionOf(b, us).textId, 1038);
    b.FunctionCode = 21;  // no page offers it
    EXPECT_EQ(CaptionOf(b, us).textId, kTextUnknownFunction);
    b.FunctionCode = kCodeKeyboardKey;
    b.setKey(41);
    EXPECT_EQ(CaptionOf(b, us).text, u"Esc");
    b.FunctionCode = kCodeMacro;
    CopyToField(b.macroName, u"Reload");
    EXPECT_EQ(CaptionOf(b, us).text, u"Reload");
    EXPECT_EQ(CaptionOf(b, us).textId, 0);
    b.FunctionCode = kCodeLaunchProgram;
    CopyToField(b.program, u"C:\\Games\\Quake\\quake.exe");
    EXPECT_EQ(CaptionOf(b, us).text, u"quake.exe");
    b.FunctionCode = kCodeLaunchCommand;
    EXPECT_EQ(CaptionOf(b, us).text, u"C:\\Games\\Quake\\quake.exe");
}

TEST(ButtonCaptions, EveryCodeAndClassHasItsOwnCommandLineName) {
    std::set<std::string> names;
    for (const FunctionCodeInfo& row : FunctionCodeTable())
        EXPECT_TRUE(row.commandName && *row.commandName && names.insert(row.commandName).second) << int(row.code);
    names.clear();
    for (const FunctionClassInfo& row : FunctionClassTable())
        EXPECT_TRUE(row.commandName && *row.commandName && names.insert(row.commandName).second)
            << int(row.functionClass);
    EXPECT_EQ(FindFunctionClass(kClassMedia)->textId, 63);
    EXPECT_EQ(FindFunctionClass(10), nullptr);
}

TEST(ButtonAcceptance, IncompleteChoicesFallBackToTheDefault) {
    ButtonAssignment macro = Default(5);
    macro.FunctionClass = kClassMacro;
    macro.FunctionCode = kCodeMacro;
    EXPECT_TRUE(ApplyAcceptanceRules(macro, 5));
    const ButtonAssignment expected = Default(5);
    EXPECT_EQ(std::memcmp(&macro, &expected, sizeof macro), 0);

    ButtonAssignment key = Default(3);
    key.FunctionClass = kClassKeyboardKey;
    key.FunctionCode = kCodeKeyboardKey;
    EXPECT_TRUE(ApplyAcceptanceRules(key, 3));
    EXPECT_EQ(key.FunctionCode, 5);

    ButtonAssignment launch = Default(2);
    launch.FunctionClass = kClassLaunch;
    launch.FunctionCode = kCodeLaunchProgram;
    EXPECT_TRUE(ApplyAcceptanceRules(launch, 2));
    CopyToField(launch.program, u"calc.exe");
    launch.FunctionClass = kClassLaunch;
    launch.FunctionCode = kCodeLaunchProgram;
    EXPECT_FALSE(ApplyAcceptanceRules(launch, 2));
    EXPECT_EQ(launch.FunctionCode, kCodeLaunchProgram);

    key.FunctionClass = kClassKeyboardKey;
    key.FunctionCode = kCodeKeyboardKey;
    key.setKey(4);
    EXPECT_FALSE(ApplyAcceptanceRules(key, 3));
}

TEST(PrimaryClickGuard, LocksOnlyTheLastLeftClick) {
    ButtonAssignment buttons[16];
    for (int i = 0; i < 16; ++i) ResetToDefault(buttons[i], i);
    auto open = PrimaryClickGuard(buttons);
    EXPECT_FALSE(open[0]);
    for (int i = 1; i < 16; ++i) EXPECT_TRUE(open[i]);
    buttons[6].FunctionCode = kCodePrimaryClick;
    open = PrimaryClickGuard(buttons);
    EXPECT_TRUE(open[0]);
    EXPECT_TRUE(open[6]);
    buttons[0].FunctionCode = 2;
    open = PrimaryClickGuard(buttons);
    EXPECT_FALSE(open[6]);
    EXPECT_TRUE(open[0]);
    // Nobody holds it (a hand-edited store): everything stays open so it can be given back.
    buttons[6].FunctionCode = 2;
    open = PrimaryClickGuard(buttons);
    for (bool b : open) EXPECT_TRUE(b);
}
