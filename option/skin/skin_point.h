#pragma once
// A point in a window's client pixels, beside `SkinRect`. Portable.
#include <cstdint>

struct SkinPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const SkinPoint&) const = default;
};
