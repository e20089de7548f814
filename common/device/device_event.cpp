#include "device_event.h"

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
    if (group == kEventDpiGroup && event.value >= 1 && event.value <= kDpiLevels)
        return {Kind::kSetCpiStep, event.value - 1};
    if (group == kEventRateGroup && event.value >= 1 && event.value <= 8)
        return {Kind::kSetPollingRate, event.value};
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

bool ApplyDeviceChange(ProfileRecord& profile, const DeviceEventAction& action) {
    int32_t* field = nullptr;
    if (action.kind == DeviceEventAction::Kind::kSetCpiStep) field = &profile.CpiStep;
    if (action.kind == DeviceEventAction::Kind::kSetPollingRate) field = &profile.PollingRate;
    if (field == nullptr) return false;
    *field = action.value;
    return true;
}
