#include "button_assignment.h"

#include <cstring>

#include "key_codes.h"

namespace {

// The one table of function names: Option shows the text of `textId`, the
// command line prints `commandName`. Codes 9 and 10 tilt the wheel: the mouse
// numbers the wheel's directions 1 up, 2 down, 3 left, 4 right, and code 9
// sends 4.
constexpr std::array<FunctionCodeInfo, 35> kCodes = {{
    {0, kClassDisabled, function_text::kNoFunction, 0, "nothing"},
    {1, kClassMouseFunction, 1005, 1, "left click"},
    {2, kClassMouseFunction, 1006, 2, "right click"},
    {3, kClassMouseFunction, 1007, 3, "middle click"},
    {4, kClassMouseFunction, 1011, 4, "forward"},
    {5, kClassMouseFunction, 1012, 5, "back"},
    {6, kClassMouseFunction, 1008, 6, "double click"},
    {7, kClassMouseFunction, 1013, 7, "scroll up"},
    {8, kClassMouseFunction, 1014, 8, "scroll down"},
    {9, kClassMouseFunction, 1015, 9, "tilt right"},
    {10, kClassMouseFunction, 1016, 10, "tilt left"},
    {11, kClassMouseFunction, 1027, 11, "fire"},
    {12, kClassKeyboardKey, 0, 0, "keyboard key"},
    {13, kClassDpiFunction, 1018, 1, "DPI cycle"},
    {14, kClassDpiFunction, 1019, 2, "DPI up"},
    {15, kClassDpiFunction, 1020, 3, "DPI down"},
    {16, kClassMacro, 0, 0, "macro"},
    {17, kClassLaunch, 0, 0, "launch program"},
    {26, kClassMedia, 1033, 6, "previous track"},
    {27, kClassMedia, 1034, 7, "next track"},
    {28, kClassMedia, 1035, 5, "play/pause"},
    {29, kClassMedia, 1036, 4, "stop"},
    {30, kClassMedia, 1037, 3, "mute"},
    {31, kClassMedia, 1038, 1, "volume up"},
    {32, kClassMedia, 1039, 2, "volume down"},
    {65, kClassLaunch, 0, 0, "run command"},
    {112, kClassShortcut, 1093, 1, "task manager"},
    {113, kClassShortcut, 1103, 2, "ease of access"},
    {114, kClassShortcut, 1099, 3, "show desktop"},
    {115, kClassShortcut, 1102, 4, "task view"},
    {116, kClassShortcut, 1100, 5, "switch window"},
    {117, kClassShortcut, 1071, 6, "close window"},
    {118, kClassShortcut, 1074, 7, "cut"},
    {119, kClassShortcut, 1075, 8, "copy"},
    {120, kClassShortcut, 1076, 9, "paste"},
}};

constexpr std::array<FunctionClassInfo, 9> kClasses = {{
    {kClassDefault, function_text::kCategoryDefault, "skin_SetDefault.ini", "default"},
    {kClassKeyboardKey, function_text::kCategoryKey, "skin_setKey.ini", "key"},
    {kClassMouseFunction, function_text::kCategoryMouse, "skin_setMouse.ini", "mouse"},
    {kClassDpiFunction, function_text::kCategoryDpi, "skin_setDPI.ini", "dpi"},
    {kClassMacro, function_text::kCategoryMacro, "skin_setMacro.ini", "macro"},
    {kClassLaunch, function_text::kCategoryLaunch, "skin_setLaunch.ini", "launch"},
    {kClassMedia, function_text::kCategoryMedia, "skin_setMedia.ini", "media"},
    {kClassShortcut, function_text::kCategoryShortcut, "skin_setShortcut.ini", "shortcut"},
    {kClassDisabled, function_text::kCategoryDisabled, "skin_SetBlock.ini", "disabled"},
}};

constexpr uint8_t kDefaultCodes[kButtonCount] = {1, 2, 3, 5, 4, 14, 15, 0, 0, 0, 0, 0, 0, 0, 7, 8};
constexpr int kButtonNumbers[kButtonCount] = {1, 2, 3, 9, 8, 4, 5, 0, 0, 0, 0, 0, 0, 0, 6, 7};

bool ValidIndex(int buttonIndex) { return buttonIndex >= 0 && buttonIndex < kButtonCount; }

// The file name and extension of a path, after the last separator.
std::u16string FileNamePart(const std::u16string& path) {
    const size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string::npos ? path : path.substr(cut + 1);
}

}  // namespace

const std::array<FunctionCodeInfo, 35>& FunctionCodeTable() { return kCodes; }

std::set<int> FunctionNameTextIds() {
    std::set<int> ids{kTextUnknownFunction};
    for (const auto& info : kCodes)
        if (info.textId != 0) ids.insert(info.textId);
    return ids;
}

const FunctionCodeInfo* FindFunctionCode(uint8_t code) {
    for (const auto& info : kCodes)
        if (info.code == code) return &info;
    return nullptr;
}

const std::array<FunctionClassInfo, 9>& FunctionClassTable() { return kClasses; }

const FunctionClassInfo* FindFunctionClass(uint8_t functionClass) {
    for (const auto& info : kClasses)
        if (info.functionClass == functionClass) return &info;
    return nullptr;
}

uint8_t DefaultFunctionCode(int buttonIndex) { return ValidIndex(buttonIndex) ? kDefaultCodes[buttonIndex] : 0; }

int ButtonNumber(int buttonIndex) { return ValidIndex(buttonIndex) ? kButtonNumbers[buttonIndex] : 0; }

void ResetAssignmentState(ButtonAssignment& record, int buttonIndex) {
    std::memset(&record, 0, sizeof record);
    record.buttonIndex = static_cast<uint8_t>(buttonIndex);
    record.macroIndex = -1;
    record.repeatCount = 2;
}

void ResetToDefault(ButtonAssignment& record, int buttonIndex) {
    ResetAssignmentState(record, buttonIndex);
    record.FunctionClass = kClassDefault;
    record.FunctionCode = DefaultFunctionCode(buttonIndex);
}

AssignmentCaption CaptionOf(const ButtonAssignment& record, const IKeyboardLayout& layout) {
    AssignmentCaption caption;
    switch (record.FunctionCode) {
        case kCodeKeyboardKey:
            caption.text = std::u16string(DeviceKeyName(layout, record.keyCode()));
            return caption;
        case kCodeMacro:
            caption.text = FieldText(record.macroName);
            return caption;
        case kCodeLaunchProgram:
            caption.text = FileNamePart(FieldText(record.program));
            return caption;
        case kCodeLaunchCommand:
            caption.text = FieldText(record.program);
            return caption;
        default:
            break;
    }
    const FunctionCodeInfo* info = FindFunctionCode(record.FunctionCode);
    caption.textId = info ? info->textId : kTextUnknownFunction;
    return caption;
}

bool ApplyAcceptanceRules(ButtonAssignment& record, int buttonIndex) {
    const bool noMacro = record.FunctionClass == kClassMacro && record.macroIndex == -1;
    const bool noKey = record.FunctionClass == kClassKeyboardKey && record.keyCode() == 0;
    const bool noProgram = record.FunctionClass == kClassLaunch && record.program[0] == u'\0';
    if (noMacro || noKey || noProgram) {
        ResetToDefault(record, buttonIndex);
        return true;
    }
    return false;
}

std::array<bool, kButtonCount> PrimaryClickGuard(const ButtonAssignment (&records)[kButtonCount]) {
    std::array<bool, kButtonCount> changeable;
    changeable.fill(true);
    int holders = 0;
    int holder = -1;
    for (int i = 0; i < kButtonCount; ++i) {
        if (records[i].FunctionCode == kCodePrimaryClick) {
            ++holders;
            holder = i;
        }
    }
    if (holders == 1) changeable[holder] = false;
    return changeable;
}

void ClampEventCount(ButtonAssignment& record) {
    if (record.eventCount > kMaxMacroEvents) record.eventCount = kMaxMacroEvents;
}
