#pragma once
// Colours of the drawing library: red, green and blue in 0-255 (kept as floats so
// that gradients and blends keep their fractions until the final rounding) and
// straight (not premultiplied) alpha in 0-1.
#include <algorithm>
#include <cstdint>

namespace art {

struct Color {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

constexpr Color Rgb(int r, int g, int b) { return Color{float(r), float(g), float(b), 1.0f}; }
constexpr Color Rgba(int r, int g, int b, float a) { return Color{float(r), float(g), float(b), a}; }

constexpr Color WithAlpha(Color c, float a) { return Color{c.r, c.g, c.b, a}; }

// Linear interpolation of every channel; t = 0 gives a, t = 1 gives b.
inline Color Mix(Color a, Color b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// Moves the colour towards white (amount > 0) or black (amount < 0), keeping alpha.
inline Color Shade(Color c, float amount) {
    const Color target = amount >= 0 ? Color{255, 255, 255, c.a} : Color{0, 0, 0, c.a};
    const float t = amount >= 0 ? amount : -amount;
    return Mix(c, target, t);
}

}  // namespace art
