#include "lighting_model.h"

namespace lighting {

namespace {

bool InRange(int32_t value, int count) { return value >= 0 && value < count; }

unsigned TextOf(unsigned first, int32_t value, int count) {
    return first + static_cast<unsigned>(InRange(value, count) ? value : 0);
}

bool ValidSwatch(int swatch) { return swatch >= 0 && swatch < kSwatchCount; }

constexpr uint32_t kColourBytes = 0x00FFFFFF;

constexpr unsigned kTextModeLabel = option_text::kLightModeLabel;
constexpr unsigned kTextLevelLabel = option_text::kSpeedBrightnessLabel;
constexpr unsigned kTextColourLabel = option_text::kLevelColoursLabel;

constexpr int kModeMenuWidth = 228;
constexpr int kChoiceMenuWidth = 102;

MenuLook Run(unsigned firstCommand, unsigned firstText, int count, int width, int lift) {
    MenuLook look;
    for (int i = 0; i < count; ++i)
        look.choices[i] = MenuChoice{firstCommand + static_cast<unsigned>(i), firstText + static_cast<unsigned>(i)};
    look.count = count;
    look.width = width;
    look.lift = lift;
    return look;
}

// The index of `command` in the menu that starts at `first`, or -1.
int ChoiceOf(unsigned command, unsigned first, int count) {
    if (command < first || command >= first + static_cast<unsigned>(count)) return -1;
    return static_cast<int>(command - first);
}

}  // namespace

int ShownMode(const ProfileRecord& record) {
    return InRange(record.LightSwitch, kModeCount) ? record.LightSwitch : kModeOff;
}

unsigned ModeCaption(const ProfileRecord& record) { return TextOf(kModeText, record.LightSwitch, kModeCount); }

unsigned DirectionCaption(const ProfileRecord& record) {
    return TextOf(kDirectionText, record.LightDir, kDirectionCount);
}

unsigned LevelCaption(const ProfileRecord& record) {
    if (ShownMode(record) == kModeSteady) return TextOf(kIntensityText, record.LightIntensity, kLevelCount);
    return TextOf(kSpeedText, record.LightSpeed, kLevelCount);
}

PageLook LookOf(const ProfileRecord& record) {
    PageLook look;
    const int mode = ShownMode(record);
    look.modeText = ModeCaption(record);
    look.levelEnabled = mode != kModeOff;
    look.directionEnabled = mode == kModeWave;
    look.swatchesEnabled = mode == kModeSteady || mode == kModeBreathing;
    if (look.levelEnabled) look.levelText = LevelCaption(record);
    if (look.directionEnabled) look.directionText = DirectionCaption(record);
    return look;
}

std::array<PaintedLabel, 3> LabelsOf(const ProfileRecord& record) {
    const int mode = ShownMode(record);
    return {{
        {kTextModeLabel, kLabelTops[0], true},
        {kTextLevelLabel, kLabelTops[1], mode != kModeOff},
        {kTextColourLabel, kLabelTops[2], mode == kModeSteady || mode == kModeBreathing},
    }};
}

MenuLook MenuOf(Menu menu, const ProfileRecord& record) {
    switch (menu) {
        case Menu::kMode:
            return Run(kModeCommand, kModeText, kModeCount, kModeMenuWidth, 0);
        case Menu::kDirection:
            return Run(kDirectionCommand, kDirectionText, kDirectionCount, kChoiceMenuWidth, 1);
        case Menu::kLevel:
            return Run(kLevelCommand, ShownMode(record) == kModeSteady ? kIntensityText : kSpeedText, kLevelCount,
                       kChoiceMenuWidth, 1);
    }
    return {};
}

bool IsMenuCommand(unsigned command) {
    return ChoiceOf(command, kModeCommand, kModeCount) >= 0 ||
           ChoiceOf(command, kDirectionCommand, kDirectionCount) >= 0 ||
           ChoiceOf(command, kLevelCommand, kLevelCount) >= 0;
}

Change ApplyCommand(ProfileRecord& record, unsigned command) {
    if (const int mode = ChoiceOf(command, kModeCommand, kModeCount); mode >= 0) {
        record.LightSwitch = mode;
        return Change::kMode;
    }
    if (const int direction = ChoiceOf(command, kDirectionCommand, kDirectionCount); direction >= 0) {
        record.LightDir = direction;
        return Change::kDirection;
    }
    if (const int level = ChoiceOf(command, kLevelCommand, kLevelCount); level >= 0) {
        // The button shows the brightness in mode 1 only; the other field keeps its value.
        if (record.LightSwitch == kModeSteady) {
            record.LightIntensity = level;
        } else {
            record.LightSpeed = level;
        }
        return Change::kLevel;
    }
    return Change::kNone;
}

uint32_t SwatchColour(const ProfileRecord& record, int swatch) {
    if (!ValidSwatch(swatch)) return 0;
    return static_cast<uint32_t>(record.DPIColor[swatch]) & kColourBytes;
}

bool SetSwatchColour(ProfileRecord& record, int swatch, uint32_t colour) {
    if (!ValidSwatch(swatch)) return false;
    record.DPIColor[swatch] = static_cast<int32_t>(colour & kColourBytes);
    return true;
}

bool SentToMouse(int swatch) { return swatch >= 0 && swatch < kSentSwatchCount; }

std::u16string SwatchCaption(int swatch) {
    if (!SentToMouse(swatch)) return {};
    return std::u16string(1, static_cast<char16_t>(u'1' + swatch));
}

}  // namespace lighting
