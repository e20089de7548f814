#include "performance_model.h"

#include <algorithm>

namespace performance {

namespace {

int ClampLevel(int32_t step) { return std::clamp<int32_t>(step, 0, kDpiLevels - 1); }
int ClampDpi(int value) { return std::clamp(value, kDpiMin, kDpiMax); }

std::u16string Number(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

int ActiveLevel(const ProfileRecord& record) { return ClampLevel(record.CpiStep); }

int ActiveDpi(const ProfileRecord& record) { return ClampDpi(record.CpiLevel_X[ActiveLevel(record)]); }

void SetActiveDpi(ProfileRecord& record, int value) { record.CpiLevel_X[ActiveLevel(record)] = ClampDpi(value); }

std::u16string DpiText(int value) { return Number(static_cast<long long>(value) * 100); }

int SpeedSliderValue(int mouseSpeed) { return std::clamp(mouseSpeed / 2, kSpeedMin, kSpeedMax); }

int MouseSpeedFor(int sliderValue) {
    const int speed = std::clamp(sliderValue, kSpeedMin, kSpeedMax) * 2;
    return speed == 0 ? 1 : speed;
}

unsigned PollingCaptionText(int rate) {
    switch (rate) {
        case 8: return option_text::kPolling125;
        case 4: return option_text::kPolling250;
        case 1: return option_text::kPolling1000;
        default: return option_text::kPolling500;
    }
}

int PollingRateOf(unsigned command) {
    for (const PollingChoice& choice : kPollingChoices)
        if (choice.command == command) return choice.rate;
    return 0;
}

DpiLevels DpiLevels::From(const ProfileRecord& record) {
    DpiLevels levels;
    levels.count = std::clamp<int32_t>(record.MaxDPI, 1, kDpiLevels);
    levels.active = std::clamp<int32_t>(record.CpiStep, 0, levels.count - 1);
    for (int i = 0; i < kDpiLevels; ++i) levels.values[i] = ClampDpi(record.CpiLevel_X[i]);
    return levels;
}

void DpiLevels::ApplyTo(ProfileRecord& record) const {
    record.MaxDPI = count;
    record.CpiStep = active;
    for (int i = 0; i < kDpiLevels; ++i) record.CpiLevel_X[i] = values[i];
}

bool DpiLevels::Choose(int row) {
    if (row < 0 || row >= count) return false;
    active = row;
    return true;
}

bool DpiLevels::ChooseCount(unsigned command) {
    if (command <= kCountCommandBase || command > kCountCommandBase + kDpiLevels) return false;
    count = static_cast<int>(command - kCountCommandBase);
    active = count - 1;
    return true;
}

void DpiLevels::SetActiveValue(int value) { values[active] = ClampDpi(value); }

std::u16string RowCaption(const std::u16string& levelText, int row) { return levelText + u" " + Number(row + 1); }

}  // namespace performance
