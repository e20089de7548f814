#include "attribute_block.h"

#include <algorithm>
#include <initializer_list>

#include "profile_record.h"

namespace {

void Put(DeviceBlock& block, size_t offset, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Mode-specific second byte for the deciding field 0, 1 and 2.
constexpr uint8_t kIntensityBytes[3] = {0x31, 0x19, 0x05};
constexpr uint8_t kBreathSpeedBytes[3] = {0x19, 0x0F, 0x05};
constexpr uint8_t kWaveSpeedBytes[3] = {0x14, 0x0C, 0x05};

}  // namespace

LightingTriple MakeLightingTriple(int32_t lightSwitch, int32_t lightIntensity, int32_t lightSpeed,
                                  int32_t lightDir) {
    const auto inRange = [](int32_t v) { return v >= 0 && v <= 2; };
    switch (lightSwitch) {
    case 0:
        return {0x00, 0x00, 0x00};
    case 1:
        if (!inRange(lightIntensity)) break;
        return {0x01, kIntensityBytes[lightIntensity], 0x00};
    case 2:
        if (!inRange(lightSpeed)) break;
        return {0x02, kBreathSpeedBytes[lightSpeed], 0x00};
    case 3:
        if (!inRange(lightSpeed)) break;
        return {0x03, kWaveSpeedBytes[lightSpeed], static_cast<uint8_t>(lightDir)};
    default:
        break;
    }
    return kLightingFallback;
}

int ColourDivisor(int32_t lightIntensity) {
    switch (lightIntensity) {
    case 0: return 40;
    case 1: return 20;
    default: return 5;
    }
}

DeviceBlock AttributeBlockTemplate() {
    DeviceBlock block{};
    Put(block, 0, {0xFF, 0xFF});
    Put(block, 48, {0x35, 0xD4, 0x0B, 0x04});
    Put(block, 60, {0x04, 0x80, 0x03, 0x00});
    Put(block, 64, {0x0F, 0x04, 0x0A, 0x0A, 0x19, 0x19});
    Put(block, 74, {0x64, 0x64});
    Put(block, 76, {0x01, 0xC0, 0xF0, 0x03, 0x01, 0x01, 0x64, 0x00});
    Put(block, 89, {0x07, 0x07, 0x07});
    Put(block, 97, {0x07, 0x07, 0x07});
    Put(block, 100, {0x7F, 0xFF, 0xFF, 0xFF});
    return block;
}

DeviceBlock BuildAttributeBlock(const ProfileRecord& profile) {
    DeviceBlock block = AttributeBlockTemplate();
    block[kAttrMaxDpi] = static_cast<uint8_t>(profile.MaxDPI);
    const LightingTriple light =
        MakeLightingTriple(profile.LightSwitch, profile.LightIntensity, profile.LightSpeed, profile.LightDir);
    std::copy(light.begin(), light.end(), block.begin() + kAttrLighting);
    for (int i = 0; i < kDpiLevels; ++i) {
        // The mouse has separate X and Y levels; the profile's X levels serve both.
        block[kAttrDpiX + i] = DpiLevelByte(profile.CpiLevel_X[i]);
        block[kAttrDpiY + i] = DpiLevelByte(profile.CpiLevel_X[i]);
    }
    const int divisor = ColourDivisor(profile.LightIntensity);
    for (int i = 0; i < kDpiLevels; ++i) {
        const uint32_t colour = static_cast<uint32_t>(profile.DPIColor[i]);
        for (int c = 0; c < 3; ++c) {
            const uint32_t component = (colour >> (8 * c)) & 0xFF;
            block[kAttrColours + 3 * i + c] = static_cast<uint8_t>(component / static_cast<uint32_t>(divisor));
        }
    }
    return block;
}
