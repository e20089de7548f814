#pragma once
// Events the mouse reports through devio.dll (message 1325): a 16-bit code in
// the low bits of wParam and a 16-bit value in the low bits of lParam.
#include <cstdint>
#include <optional>
#include <string>

struct ProfileRecord;

inline constexpr uint16_t kEventLaunch = 0x000A;      // value: button number 1-16
inline constexpr uint16_t kEventOpenOption = 0x00A0;  // any value
inline constexpr uint16_t kEventDpiGroup = 0x0700;    // 0x0700-0x07FF, value: level 1-5
inline constexpr uint16_t kEventRateGroup = 0x0500;   // 0x0500-0x05FF, value: interval 1-8 ms

struct DeviceEvent {
    uint16_t code = 0;
    uint16_t value = 0;
    friend bool operator==(const DeviceEvent&, const DeviceEvent&) = default;
};

// Takes the low 16 bits of each message parameter; the rest is not looked at.
DeviceEvent DecodeDeviceEvent(uint64_t wParam, int64_t lParam);

// What the Monitor does about an event.
struct DeviceEventAction {
    enum class Kind {
        kNothing,
        kLaunch,          // value: button index 0-15 whose program to open
        kOpenOption,      // post ID_OPEN_OPTION to the Monitor's own window
        kSetCpiStep,      // value: the new 0-based CpiStep
        kSetPollingRate,  // value: the new PollingRate
    };
    Kind kind = Kind::kNothing;
    int value = 0;
    friend bool operator==(const DeviceEventAction&, const DeviceEventAction&) = default;
};

// The mouse has five DPI levels; a level beyond them would make CpiStep index
// past the profile's level table, so such an event does nothing.
DeviceEventAction InterpretDeviceEvent(const DeviceEvent& event);

// The text to open for a launch event at `buttonIndex`: the button's program
// when it carries a launch function and the text is not empty.
std::optional<std::u16string> LaunchTarget(const ProfileRecord& profile, int buttonIndex);

// Writes a DPI-level or polling-rate change into the profile. True for those two
// kinds: the caller then saves the store and tells Option (even when the value
// was already there, so both programs agree with the mouse again).
bool ApplyDeviceChange(ProfileRecord& profile, const DeviceEventAction& action);
