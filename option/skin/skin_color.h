#pragma once
// Colours as the platform stores them: 0x00BBGGRR. Portable.
#include <cstdint>

using SkinColor = uint32_t;

constexpr SkinColor SkinRgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<SkinColor>(r) | (static_cast<SkinColor>(g) << 8) | (static_cast<SkinColor>(b) << 16);
}
constexpr uint8_t SkinRed(SkinColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t SkinGreen(SkinColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t SkinBlue(SkinColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// `amount` 256ths of the way from `from` to `to`, channel by channel.
constexpr SkinColor SkinMix(SkinColor from, SkinColor to, unsigned amount) {
    const auto mix = [amount](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>((a * (256 - amount) + b * amount + 128) / 256);
    };
    return SkinRgb(mix(SkinRed(from), SkinRed(to)), mix(SkinGreen(from), SkinGreen(to)),
                   mix(SkinBlue(from), SkinBlue(to)));
}

// The text of a disabled field: well over half-way into its background, so
// it reads as greyed out beside enabled fields and can still be read.
constexpr SkinColor DisabledTextColor(SkinColor text, SkinColor background) {
    return SkinMix(text, background, 150);
}

// The skins' shared palette.
inline constexpr SkinColor kSkinAccent = SkinRgb(128, 21, 153);
inline constexpr SkinColor kSkinDarkPanel = SkinRgb(16, 16, 16);
inline constexpr SkinColor kSkinWhite = SkinRgb(255, 255, 255);
