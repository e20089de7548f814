#include "assign_model.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "key_codes.h"

// The function table in settings names its captions without seeing Option's
// text table; a number changed on one side only would show another text.
#define GM_SAME_TEXT(name) \
    static_assert(static_cast<int>(function_text::name) == static_cast<int>(option_text::name), #name);
GM_SAME_TEXT(kCategoryDefault)
GM_SAME_TEXT(kCategoryKey)
GM_SAME_TEXT(kCategoryMouse)
GM_SAME_TEXT(kCategoryDpi)
GM_SAME_TEXT(kCategoryMacro)
GM_SAME_TEXT(kCategoryLaunch)
GM_SAME_TEXT(kCategoryMedia)
GM_SAME_TEXT(kCategoryShortcut)
GM_SAME_TEXT(kCategoryDisabled)
GM_SAME_TEXT(kNoFunction)
#undef GM_SAME_TEXT

namespace assign {

namespace {

// The pages' menus, in menu order, from the function table that names every
// code for both programs.
struct Menus {
    std::array<std::vector<MenuEntry>, kClassDisabled + 1> byClass;
    Menus() {
        for (const FunctionCodeInfo& row : FunctionCodeTable()) {
            if (row.menuPosition <= 0 || row.functionClass >= byClass.size()) continue;
            std::vector<MenuEntry>& menu = byClass[row.functionClass];
            if (menu.size() < static_cast<size_t>(row.menuPosition)) menu.resize(static_cast<size_t>(row.menuPosition));
            menu[static_cast<size_t>(row.menuPosition - 1)] = MenuEntry{row.code, row.textId};
        }
    }
};

bool InMenu(uint8_t functionClass, uint8_t code) {
    const auto menu = MenuOf(functionClass);
    return std::any_of(menu.begin(), menu.end(), [code](const MenuEntry& e) { return e.code == code; });
}

std::u16string LeadingBlanksRemoved(std::u16string_view text) {
    const size_t first = text.find_first_not_of(u" \t");
    return first == std::u16string_view::npos ? std::u16string() : std::u16string(text.substr(first));
}

}  // namespace

std::span<const MenuEntry> MenuOf(uint8_t functionClass) {
    static const Menus menus;
    if (functionClass >= menus.byClass.size()) return {};
    return menus.byClass[functionClass];
}

std::optional<uint8_t> MenuCode(uint8_t functionClass, int command) {
    const auto menu = MenuOf(functionClass);
    const int position = command - 1001;
    if (position < 0 || position >= static_cast<int>(menu.size())) return std::nullopt;
    return menu[static_cast<size_t>(position)].code;
}

RepeatCount ReadRepeatCount(std::u16string_view text, bool finished) {
    const std::u16string typed = LeadingBlanksRemoved(text);
    // Digits up to the first other character; a run too long to matter is above 255 anyway.
    int64_t number = 0;
    size_t digits = 0;
    for (char16_t c : typed) {
        if (c < u'0' || c > u'9') break;
        number = std::min<int64_t>(number * 10 + (c - u'0'), 1000);
        ++digits;
    }
    RepeatCount count;
    count.value = static_cast<int>(std::clamp<int64_t>(number, kRepeatCountMin, kRepeatCountMax));
    const bool tooHigh = number > kRepeatCountMax;
    const bool tooLow = number < kRepeatCountMin;
    const bool notANumber = digits != typed.size();
    if (tooHigh || (finished && (tooLow || notANumber))) {
        const std::string shown = std::to_string(count.value);
        count.writeBack = std::u16string(shown.begin(), shown.end());
    }
    return count;
}

AssignModel::AssignModel(const ButtonAssignment& record, int buttonIndex)
    : record_(record), buttonIndex_(std::clamp(buttonIndex, 0, kButtonCount - 1)) {}

void AssignModel::Open() {
    const uint8_t cls = record_.FunctionClass;
    Enter(cls >= kClassDefault && cls <= kClassDisabled ? cls : kClassDefault);
}

bool AssignModel::ChooseCategory(uint8_t functionClass) {
    if (functionClass < kClassDefault || functionClass > kClassDisabled) return false;
    record_.FunctionClass = functionClass;
    Enter(functionClass);
    return true;
}

void AssignModel::ResetTo(uint8_t functionClass, uint8_t code) {
    ResetAssignmentState(record_, buttonIndex_);
    record_.FunctionClass = functionClass;
    record_.FunctionCode = code;
}

void AssignModel::Enter(uint8_t page) {
    page_ = page;
    const uint8_t code = record_.FunctionCode;
    switch (page) {
        case kClassDefault:
            ResetToDefault(record_, buttonIndex_);
            break;
        case kClassKeyboardKey:
            if (code != kCodeKeyboardKey) ResetTo(kClassKeyboardKey, kCodeKeyboardKey);
            break;
        case kClassMouseFunction:
            if (code < 1 || code > 11) ResetTo(kClassMouseFunction, 1);
            break;
        case kClassDpiFunction:
            if (code < 13 || code > 15) ResetTo(kClassDpiFunction, 13);
            break;
        case kClassMacro:
            // The code becomes 16 only once a macro is chosen.
            if (code != kCodeMacro) ResetTo(kClassMacro, kCodeNothing);
            break;
        case kClassLaunch:
            if (code != kCodeLaunchProgram && code != kCodeLaunchCommand) ResetTo(kClassLaunch, kCodeLaunchProgram);
            break;
        case kClassMedia:
            if (!InMenu(kClassMedia, code)) ResetTo(kClassMedia, 31);
            break;
        case kClassShortcut:
            if (!InMenu(kClassShortcut, code)) ResetTo(kClassShortcut, 112);
            break;
        case kClassDisabled:
            ResetTo(kClassDisabled, kCodeNothing);
            break;
        default:
            break;
    }
}

std::u16string AssignModel::TakeKey(uint32_t virtualKey, const IKeyboardLayout& layout) {
    if (page_ != kClassKeyboardKey) return {};
    uint32_t deviceCode = 0;
    if (!VirtualKeyToDeviceCode(layout, virtualKey, deviceCode) || deviceCode > 0xFF) deviceCode = 0;
    record_.FunctionClass = kClassKeyboardKey;
    record_.FunctionCode = kCodeKeyboardKey;
    record_.setKey(static_cast<uint8_t>(deviceCode), 0);
    return deviceCode ? std::u16string(DeviceKeyName(layout, deviceCode)) : std::u16string();
}

AssignModel::Heard AssignModel::HearKey(uint32_t virtualKey, bool release, const IKeyboardLayout& layout) {
    if (page_ != kClassKeyboardKey) return {};
    const StopChordFilter::Outcome outcome = chord_.Feed({virtualKey, release, 0});
    Heard heard;
    for (const HeardKey& key : outcome.pass) heard.name = TakeKey(key.virtualKey, layout);
    heard.ended = outcome.complete;
    return heard;
}

bool AssignModel::ChooseMenu(int command) {
    const std::optional<uint8_t> code = MenuCode(page_, command);
    if (!code) return false;
    record_.FunctionClass = page_;
    record_.FunctionCode = *code;
    return true;
}

bool AssignModel::ChooseMacro(const MacroLibrary& library, int position) {
    if (page_ != kClassMacro) return false;
    const MacroRecord* macro = FindMacroAt(const_cast<MacroLibrary&>(library), position);
    if (!macro) return false;
    record_.FunctionClass = kClassMacro;
    record_.FunctionCode = kCodeMacro;
    record_.macroIndex = position;
    std::memset(record_.macroName, 0, sizeof record_.macroName);
    std::u16string name = FieldText(macro->name);
    name.resize(std::min<size_t>(name.size(), kMacroNameFieldUnits - 1));
    CopyToField(record_.macroName, name);
    record_.eventCount = static_cast<uint16_t>(std::clamp<int32_t>(macro->eventCount, 0, kMaxMacroEvents));
    std::memcpy(record_.events, macro->events, sizeof record_.events);
    return true;
}

bool AssignModel::ChooseRepeatMode(int command) {
    const int mode = command - kRepeatModeCommand - 1;
    if (page_ != kClassMacro || mode < 0 || mode >= kMacroRepeatModes) return false;
    record_.repeatMode = static_cast<int32_t>(MacroRepeatOf(mode));
    return true;
}

RepeatCount AssignModel::TypeRepeatCount(std::u16string_view text, bool finished) {
    const RepeatCount count = ReadRepeatCount(text, finished);
    if (page_ == kClassMacro) record_.repeatCount = count.value;
    return count;
}

void AssignModel::ChooseProgram() {
    if (page_ != kClassLaunch) return;
    record_.FunctionClass = kClassLaunch;
    record_.FunctionCode = kCodeLaunchProgram;
}

void AssignModel::ChooseCommand() {
    if (page_ != kClassLaunch) return;
    record_.FunctionClass = kClassLaunch;
    record_.FunctionCode = kCodeLaunchCommand;
}

void AssignModel::SetProgram(std::u16string_view path) {
    if (page_ != kClassLaunch) return;
    std::memset(record_.program, 0, sizeof record_.program);
    CopyToField(record_.program, path);
}

void AssignModel::SetCommandText(std::u16string_view text) {
    if (page_ != kClassLaunch) return;
    std::memset(record_.program, 0, sizeof record_.program);
    CopyToField(record_.program, LeadingBlanksRemoved(text));
}

std::u16string AssignModel::CommandText() const {
    return page_ == kClassLaunch && CommandChosen() ? FieldText(record_.program) : std::u16string();
}

const ButtonAssignment& AssignModel::Accept() {
    ApplyAcceptanceRules(record_, buttonIndex_);
    return record_;
}

}  // namespace assign
