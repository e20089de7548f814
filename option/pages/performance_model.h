#pragma once
// The performance page's and the DPI levels dialog's rules, without windows:
// which level the page edits, how slider values become store values, the
// polling-rate menu and caption, and the dialog's working copy of the levels.
// A hand-edited store may hold anything: every value read here is clamped
// before it indexes or reaches a slider.
#include <array>
#include <cstdint>
#include <string>

#include "option_text_ids.h"
#include "profile_record.h"

namespace performance {

inline constexpr int kDpiMin = 2;     // units of 100 DPI
inline constexpr int kDpiMax = 100;
inline constexpr int kSpeedMin = 0;   // the speed slider; the store keeps twice the value
inline constexpr int kSpeedMax = 10;

// The level the page edits: `CpiStep`, kept inside the five levels.
int ActiveLevel(const ProfileRecord& record);
// The DPI slider's value for the active level, inside the slider's range.
int ActiveDpi(const ProfileRecord& record);
// Stores a DPI slider value for the active level (clamped to the range).
void SetActiveDpi(ProfileRecord& record, int value);
// The DPI value label: the value in units of 100 DPI, written out.
std::u16string DpiText(int value);

// The speed slider's position for a stored `MouseSpeed`.
int SpeedSliderValue(int mouseSpeed);
// The `MouseSpeed` stored for a speed slider value: twice it, and 1 for 0.
int MouseSpeedFor(int sliderValue);

// The polling-rate menu: command, text and the interval stored.
struct PollingChoice {
    unsigned command;
    unsigned text;
    int rate;
};
inline constexpr std::array<PollingChoice, 4> kPollingChoices{
    {{1001, option_text::kPolling125, 8},
     {1002, option_text::kPolling250, 4},
     {1003, option_text::kPolling500, 2},
     {1004, option_text::kPolling1000, 1}}};
// The caption text of a stored rate: 2 and every unknown value show text 123.
unsigned PollingCaptionText(int rate);
// The rate of a menu command; 0 for a command that is not in the menu.
int PollingRateOf(unsigned command);

// The DPI levels dialog's working copy. Only accepting it changes the profile.
struct DpiLevels {
    int count = 5;   // levels in use, 1-5
    int active = 0;  // 0-based, below `count`
    std::array<int, kDpiLevels> values{};

    static DpiLevels From(const ProfileRecord& record);
    // Writes `MaxDPI`, `CpiStep` and `CpiLevel_X` 0-4.
    void ApplyTo(ProfileRecord& record) const;
    // A click on row `row` (0-based): only a shown row becomes the active one.
    bool Choose(int row);
    // The count menu's command 1001-1005: the count, and its last level active.
    bool ChooseCount(unsigned command);
    // The slider moved: the active level's value (clamped).
    void SetActiveValue(int value);
    int ActiveValue() const { return values[active]; }
};

inline constexpr unsigned kCountCommandBase = 1000;  // count n is command 1000 + n

// "%s %d": the level caption text and the row's 1-based number.
std::u16string RowCaption(const std::u16string& levelText, int row);

}  // namespace performance
