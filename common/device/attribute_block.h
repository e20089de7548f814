#pragma once
// The AttributeBlock: DPI levels, lighting and DPI colours of a profile as the
// mouse takes them after command 0x0C.
#include <array>
#include <cstdint>

#include "feature_command.h"

struct ProfileRecord;

// Offsets inside the block.
inline constexpr size_t kAttrMaxDpi = 70;
inline constexpr size_t kAttrLighting = 71;      // three bytes
inline constexpr size_t kAttrDpiX = 84;          // five bytes
inline constexpr size_t kAttrDpiY = 92;          // five bytes, the same values as X
inline constexpr size_t kAttrColours = 104;      // five red/green/blue triples

using LightingTriple = std::array<uint8_t, 3>;
// What the mouse is sent when the mode or its deciding field is out of range.
inline constexpr LightingTriple kLightingFallback = {0x02, 0x01, 0x02};

// Bytes 71-73, chosen by the light mode and the field that mode is decided by
// (LightIntensity for mode 1, LightSpeed for modes 2 and 3).
LightingTriple MakeLightingTriple(int32_t lightSwitch, int32_t lightIntensity, int32_t lightSpeed,
                                  int32_t lightDir);

// Each colour component is divided by this: 40, 20 or 5 by LightIntensity.
int ColourDivisor(int32_t lightIntensity);

// The device byte of one DPI level: the level is in units of 100 DPI, the mouse
// counts in 50 DPI and keeps eight bits.
inline uint8_t DpiLevelByte(int32_t cpiLevel) {
    return static_cast<uint8_t>(static_cast<uint32_t>(cpiLevel) * 2u);  // unsigned: no overflow on damaged values
}

// The bytes that do not depend on the profile.
DeviceBlock AttributeBlockTemplate();
DeviceBlock BuildAttributeBlock(const ProfileRecord& profile);
