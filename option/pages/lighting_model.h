#pragma once
// The lighting page's rules, without windows: the captions of its three
// buttons, which controls the light mode leaves enabled, which labels it
// paints, what its three menus offer and what a choice stores, and the DPI
// colours of the seven swatches.
//
// A hand-edited store may hold any number in the lighting fields. A mode
// outside 0-3 is shown as "off" throughout (caption, enabled controls,
// labels), so the page never offers choices that the shown mode does not have;
// the user's next choice makes the value valid again.
#include <array>
#include <cstdint>
#include <string>

#include "option_text_ids.h"
#include "profile_record.h"

namespace lighting {

inline constexpr int kModeCount = 4;
inline constexpr int kDirectionCount = 4;
inline constexpr int kLevelCount = 3;
inline constexpr int kSwatchCount = kDpiColors;
// Only the first five colours belong to DPI levels that the mouse has.
inline constexpr int kSentSwatchCount = kDpiLevels;

// The light modes (`LightSwitch`).
inline constexpr int kModeOff = 0;
inline constexpr int kModeSteady = 1;
inline constexpr int kModeBreathing = 2;
inline constexpr int kModeWave = 3;

// Menu commands: the first of each menu; choice k is first + k.
inline constexpr unsigned kModeCommand = 1001;
inline constexpr unsigned kDirectionCommand = 2001;
inline constexpr unsigned kLevelCommand = 3001;

// Text numbers of uistr.dll: the first of each run.
inline constexpr unsigned kModeText = option_text::kLightOff;
inline constexpr unsigned kDirectionText = option_text::kLeftToRight;
inline constexpr unsigned kIntensityText = option_text::kLightDim;
inline constexpr unsigned kSpeedText = option_text::kLightSlow;
// No caption: the button is disabled and shows nothing.
inline constexpr unsigned kNoText = 0;

// The light mode the page shows and works with: `LightSwitch`, or off when the
// store holds a value outside 0-3.
int ShownMode(const ProfileRecord& record);

// The caption texts of the mode, direction and level buttons, whatever the
// enable table says (values outside their range show the first text).
unsigned ModeCaption(const ProfileRecord& record);
unsigned DirectionCaption(const ProfileRecord& record);
// Mode 1 shows the brightness (`LightIntensity`), the others the speed.
unsigned LevelCaption(const ProfileRecord& record);

// What the page shows for a record: enabled controls and the captions, with
// kNoText where a disabled button shows none.
struct PageLook {
    bool levelEnabled = false;
    bool directionEnabled = false;
    bool swatchesEnabled = false;
    unsigned modeText = kModeText;
    unsigned levelText = kNoText;
    unsigned directionText = kNoText;
};
PageLook LookOf(const ProfileRecord& record);

// The painted labels: text, band and whether the mode shows it.
inline constexpr int kLabelLeft = 321;
inline constexpr int kLabelRight = 500;
inline constexpr int kLabelBandHeight = 30;
inline constexpr std::array<int, 3> kLabelTops{110, 179, 250};
struct PaintedLabel {
    unsigned text;
    int top;  // of its 30-pixel band
    bool shown;
};
std::array<PaintedLabel, 3> LabelsOf(const ProfileRecord& record);

// The three menus. The level menu lists brightness or speed by the mode.
enum class Menu { kMode, kDirection, kLevel };
struct MenuChoice {
    unsigned command;
    unsigned text;
};
struct MenuLook {
    std::array<MenuChoice, 4> choices{};
    int count = 0;
    int width = 0;
    // Pixels the menu opens above its button's bottom edge.
    int lift = 0;
};
MenuLook MenuOf(Menu menu, const ProfileRecord& record);

// Whether `command` is a choice of one of the three menus.
bool IsMenuCommand(unsigned command);

// What a menu command changed.
enum class Change { kNone, kMode, kDirection, kLevel };
// Stores the choice of a menu command in the record: `LightSwitch`,
// `LightDir`, or in mode 1 `LightIntensity` and otherwise `LightSpeed`.
// A command of no menu changes nothing.
Change ApplyCommand(ProfileRecord& record, unsigned command);

// The colour of swatch `swatch` (0-6) as 0x00BBGGRR; what the store holds
// beyond the three colour bytes is not shown. Black for a swatch that does not exist.
uint32_t SwatchColour(const ProfileRecord& record, int swatch);
// Stores a chosen colour in `DPIColor%d` of the swatch, the colour bytes only.
// False (and nothing stored) for a swatch that does not exist.
bool SetSwatchColour(ProfileRecord& record, int swatch, uint32_t colour);
// Whether the swatch's colour reaches the mouse (the DPI levels 1-5).
bool SentToMouse(int swatch);
// The painted caption of a swatch: its DPI level, "1" to "5"; empty for the
// two colours that are only stored.
std::u16string SwatchCaption(int swatch);

}  // namespace lighting
