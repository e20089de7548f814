#pragma once
// Events the mouse reports through devio.dll (message 1325): a 16-bit code in
// the low bits of wParam and a 16-bit value in the low bits of lParam.
#include <cstdint>
#include <optional>
#include <string>

struct ProfileRecord;

inline constexpr uint16_t kEventLaunch = 0x000A;      // value: button number 1-16
inline constexpr uint16_t kEventOpenOption = 0x00A0;  // any value
inline constexpr uint16_t kEventDpiGroup = 0x0700;    // 0x0700-0x07FF, value: level 1-8
inline constexpr uint16_t kEventRateGroup = 0x0500;   // 0x0500-0x05FF, value: interval 1-8 ms
// The values a DPI or rate event can carry; anything else is not a choice of the mouse.
inline constexpr uint16_t kEventChoiceMin = 1;
inline constexpr uint16_t kEventChoiceMax = 8;

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

// A DPI level or rate is passed on as the mouse reports it, even one the
// profile does not have: the mouse holds it now, so the Monitor has to answer
// it (ApplyDeviceChange) rather than look away.
DeviceEventAction InterpretDeviceEvent(const DeviceEvent& event);

// The text to open for a launch event at `buttonIndex`: the button's program
// when it carries a launch function and the text is not empty.
std::optional<std::u16string> LaunchTarget(const ProfileRecord& profile, int buttonIndex);

// What a DPI-level or polling-rate change did to the profile.
enum class DeviceChange {
    kNone,     // not such a change
    kTaken,    // stored as the mouse chose it; the mouse already agrees
    kClamped,  // a level past the profile's MaxDPI: its top level is stored instead
    kRefused,  // a rate other than 1, 2, 4 or 8: the stored rate stays
};

// Writes a DPI-level or polling-rate change into the profile, keeping it one
// the store accepts. After kTaken and kClamped the caller saves the store and
// tells Option (even when the value was already there, so both programs agree
// with the mouse again); after kClamped and kRefused the mouse holds a value
// the profile does not, and must be given the profile's.
DeviceChange ApplyDeviceChange(ProfileRecord& profile, const DeviceEventAction& action);

// The number of DPI levels a profile uses, 1-5 even when MaxDPI is damaged.
int LevelsInUse(const ProfileRecord& profile);
