#include "device_event.h"

#include <algorithm>

#include "button_assignment.h"
#include "profile_record.h"

DeviceEvent DecodeDeviceEvent(uint64_t wParam, int64_t lParam) {
    return DeviceEvent{static_cast<uint16_t>(wParam & 0xFFFF), static_cast<uint16_t>(static_cast<uint64_t>(lParam) & 0xFFFF)};
}

DeviceEventAction InterpretDeviceEvent(const DeviceEvent& event) {
    using Kind = DeviceEventAction::Kind;
    if (event.code == kEventLaunch) {
        const int button = event.value & 0xFF;
        if ((event.value >> 8) != 0 || button < 1 || button > kButtonCount) return {};
        return {Kind::kLaunch, button - 1};
    }
    if (event.code == kEventOpenOption) return {Kind::kOpenOption, 0};
    const uint16_t group = event.code & 0xFF00;
    const bool choice = event.value >= kEventChoiceMin && event.value <= kEventChoiceMax;
    if (group == kEventDpiGroup && choice) return {Kind::kSetCpiStep, event.value - 1};
    if (group == kEventRateGroup && choice) return {Kind::kSetPollingRate, event.value};
    return {};
}

std::optional<std::u16string> LaunchTarget(const ProfileRecord& profile, int buttonIndex) {
    if (buttonIndex < 0 || buttonIndex >= kButtonCount) return std::nullopt;
    const ButtonAssignment& record = profile.MacroKeyInfo[buttonIndex];
    if (record.FunctionCode != kCodeLaunchProgram && record.FunctionCode != kCodeLaunchCommand) return std::nullopt;
    std::u16string text = FieldText(record.program);
    if (text.empty()) return std::nullopt;
    return text;
}

int LevelsInUse(const ProfileRecord& profile) { return std::clamp<int32_t>(profile.MaxDPI, 1, kDpiLevels); }

DeviceChange ApplyDeviceChange(ProfileRecord& profile, const DeviceEventAction& action) {
    if (action.kind == DeviceEventAction::Kind::kSetCpiStep) {
        // The level the user was heading for is the highest one there is;
        // keeping the old level would undo the press instead.
        const int top = LevelsInUse(profile) - 1;
        const bool beyond = action.value > top;
        profile.CpiStep = beyond ? top : action.value;
        return beyond ? DeviceChange::kClamped : DeviceChange::kTaken;
    }
    if (action.kind == DeviceEventAction::Kind::kSetPollingRate) {
        // No rate is nearer than another to an interval the mouse cannot
        // have meant, so the stored one stays.
        const int rate = action.value;
        if (rate != 1 && rate != 2 && rate != 4 && rate != 8) return DeviceChange::kRefused;
        profile.PollingRate = rate;
        return DeviceChange::kTaken;
    }
    return DeviceChange::kNone;
}
