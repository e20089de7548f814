#pragma once
// What one mouse button does: the 1232-byte ButtonAssignment record, the function
// classes and codes that give it meaning, the per-button defaults, the caption of
// a record and the rules that keep a record valid. No windows here; the pages and
// the Monitor's protocol builders use these.
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "macro_record.h"

class IKeyboardLayout;

inline constexpr int kButtonCount = 16;
inline constexpr int kMacroNameFieldUnits = 24;  // 23 characters plus terminator
inline constexpr int kProgramFieldUnits = 261;

// Function classes (the category menu lists them in this order).
inline constexpr uint8_t kClassDefault = 1;
inline constexpr uint8_t kClassKeyboardKey = 2;
inline constexpr uint8_t kClassMouseFunction = 3;
inline constexpr uint8_t kClassDpiFunction = 4;
inline constexpr uint8_t kClassMacro = 5;
inline constexpr uint8_t kClassLaunch = 6;
inline constexpr uint8_t kClassMedia = 7;
inline constexpr uint8_t kClassShortcut = 8;
inline constexpr uint8_t kClassDisabled = 9;

// The classes' captions and the caption of a button that does nothing, by
// their numbers in the text library. Option's text table holds the same
// numbers under the same names; Option's assignment rules, which see both,
// check at compile time that they agree.
namespace function_text {
enum Id : int {
    kCategoryDefault = 56,
    kCategoryKey = 57,
    kCategoryMouse = 58,
    kCategoryDpi = 59,
    kCategoryMacro = 60,
    kCategoryLaunch = 62,
    kCategoryMedia = 63,
    kCategoryShortcut = 64,
    kCategoryDisabled = 65,
    kNoFunction = 67,
};
}  // namespace function_text

// How a macro button plays its macro, by the number the record stores.
enum class MacroRepeat : int32_t { kOnce = 0, kCount = 1, kWhileHeld = 2, kToggle = 3 };
inline constexpr int kMacroRepeatModes = 4;
// The stored number as a mode; a number outside 0-3 plays once.
inline constexpr MacroRepeat MacroRepeatOf(int32_t stored) {
    return stored >= 0 && stored < kMacroRepeatModes ? static_cast<MacroRepeat>(stored) : MacroRepeat::kOnce;
}

// Function codes with a meaning of their own in the program (the rest are table rows).
inline constexpr uint8_t kCodeNothing = 0;
inline constexpr uint8_t kCodePrimaryClick = 1;
inline constexpr uint8_t kCodeKeyboardKey = 12;
inline constexpr uint8_t kCodeMacro = 16;
inline constexpr uint8_t kCodeLaunchProgram = 17;
inline constexpr uint8_t kCodeLaunchCommand = 65;

// Text id shown for a code that no table row names.
inline constexpr int kTextUnknownFunction = 67;

struct ButtonAssignment {
    uint8_t buttonIndex;    // 0-15, fixed when the profile is created
    uint8_t FunctionCode;   // what the button does
    uint8_t reserved0[2];
    int32_t macroIndex;     // library position of the chosen macro, -1 none
    uint8_t FunctionClass;  // 1-9
    uint8_t reserved1;
    char16_t macroName[kMacroNameFieldUnits];
    uint8_t reserved2[2];
    int32_t repeatCount;    // 2-255, used by repeat mode 1
    int32_t repeatMode;     // a MacroRepeat, 0-3
    uint16_t eventCount;    // 0-160
    MacroEvent events[kMaxMacroEvents];  // class 2 keeps its key in the first slot
    char16_t program[kProgramFieldUnits];

    // Class 2 stores its key in bytes 70 and 71 (the first event slot).
    uint8_t keyCode() const { return events[0].keyCode; }
    uint8_t keyModifierByte() const { return events[0].pressFlag; }
    void setKey(uint8_t code, uint8_t modifierByte = 0) {
        events[0].keyCode = code;
        events[0].pressFlag = modifierByte;
    }
};
static_assert(sizeof(ButtonAssignment) == 1232);
static_assert(offsetof(ButtonAssignment, buttonIndex) == 0);
static_assert(offsetof(ButtonAssignment, FunctionCode) == 1);
static_assert(offsetof(ButtonAssignment, reserved0) == 2);
static_assert(offsetof(ButtonAssignment, macroIndex) == 4);
static_assert(offsetof(ButtonAssignment, FunctionClass) == 8);
static_assert(offsetof(ButtonAssignment, reserved1) == 9);
static_assert(offsetof(ButtonAssignment, macroName) == 10);
static_assert(offsetof(ButtonAssignment, reserved2) == 58);
static_assert(offsetof(ButtonAssignment, repeatCount) == 60);
static_assert(offsetof(ButtonAssignment, repeatMode) == 64);
static_assert(offsetof(ButtonAssignment, eventCount) == 68);
static_assert(offsetof(ButtonAssignment, events) == 70);
static_assert(offsetof(ButtonAssignment, program) == 710);

// One row of the function-code table.
struct FunctionCodeInfo {
    uint8_t code;
    uint8_t functionClass;  // the class whose page offers it
    int textId;             // 0 when the caption comes from the record (12, 16, 17, 65)
    int menuPosition;       // 1-based position on its page's menu, 0 when not on a menu
    const char* commandName;  // English name the command line prints
};
const std::array<FunctionCodeInfo, 35>& FunctionCodeTable();
const FunctionCodeInfo* FindFunctionCode(uint8_t code);
// Every text a function caption can show: the table's names and the unknown one, ascending.
std::set<int> FunctionNameTextIds();

struct FunctionClassInfo {
    uint8_t functionClass;
    int textId;
    const char* skinFile;  // the assignment dialog's page for the class
    const char* commandName;  // English name the command line prints
};
const std::array<FunctionClassInfo, 9>& FunctionClassTable();
const FunctionClassInfo* FindFunctionClass(uint8_t functionClass);

// Default code of each button index, and the number the user sees (0 = none).
uint8_t DefaultFunctionCode(int buttonIndex);
int ButtonNumber(int buttonIndex);

// All zero except the index, macro index -1 and repeat count 2.
void ResetAssignmentState(ButtonAssignment& record, int buttonIndex);
// The reset state plus class 1 and the button's default code.
void ResetToDefault(ButtonAssignment& record, int buttonIndex);

// Caption of a record: a text id of the text library, or text taken from the
// record itself (a key name, a macro name, a program name).
struct AssignmentCaption {
    int textId = 0;      // non-zero: load this id
    std::u16string text;  // used when textId is 0
};
AssignmentCaption CaptionOf(const ButtonAssignment& record, const IKeyboardLayout& layout);

// The rules of accepting the assignment dialog: a macro without macro, a key
// without key or a launch without program falls back to the button's default.
// Returns true when the record was reset.
bool ApplyAcceptanceRules(ButtonAssignment& record, int buttonIndex);

// The primary-click guard: which buttons may be changed. Exactly one holder of
// code 1 is locked; with two or more, or none, every button stays open so a
// left click can always be given back.
std::array<bool, kButtonCount> PrimaryClickGuard(const ButtonAssignment (&records)[kButtonCount]);

// Cuts an event count read from a file to the 160 slots that exist.
void ClampEventCount(ButtonAssignment& record);
