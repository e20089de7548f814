#pragma once
// One profile: everything the user configures for the mouse. A plain record,
// copied and compared byte for byte; padding is spelled out so that comparing
// two records compares only what is stored.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "button_assignment.h"

inline constexpr int kProfileNameUnits = 50;  // 49 characters plus terminator
inline constexpr int kGameFileUnits = 500;
inline constexpr int kDpiLevels = 5;
inline constexpr int kDpiColors = 7;

struct ProfileRecord {
    char16_t ProFileName[kProfileNameUnits];
    char16_t GameFile[kGameFileUnits];
    int32_t DbleClickSpeed;
    int32_t ScrollWheelSpeed;
    int32_t ScrollWheelFlag;
    int32_t MouseSpeed;
    int32_t Acceleration;
    int32_t AccelerationFlag;
    int32_t MaxDPI;
    int32_t XYCpiFlag;
    int32_t CpiLevel_X[kDpiLevels];
    int32_t CpiLevel_Y[kDpiLevels];
    int32_t CpiStep;
    int32_t PollingRate;
    int32_t LightSwitch;
    int32_t LightType;
    int32_t LightIntensity;
    int32_t LightDir;
    int32_t LightSpeed;
    int32_t DPIColor[kDpiColors];
    uint8_t dpiStepFlag[kDpiLevels];
    uint8_t dpiIndicator[kDpiLevels];
    uint8_t reserved[2];  // always zero
    ButtonAssignment MacroKeyInfo[kButtonCount];
};
static_assert(std::is_trivially_copyable_v<ProfileRecord>);
static_assert(offsetof(ProfileRecord, GameFile) == 100);
static_assert(offsetof(ProfileRecord, DbleClickSpeed) == 1100);
static_assert(offsetof(ProfileRecord, dpiStepFlag) == 1228);
static_assert(offsetof(ProfileRecord, reserved) == 1238);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) == 1240);
static_assert(sizeof(ProfileRecord) == 1240 + 16 * 1232);

bool SameRecord(const ProfileRecord& a, const ProfileRecord& b);
