#pragma once
// The arithmetic of the scaled skin sets: a coordinate v of the 100 % layout
// becomes floor((v * p + 50) / 100) at p % (rounded half up, integers only),
// and a rectangle is scaled by its edges, so rectangles that touch at 100 %
// still touch and never overlap. Option places the pictures with the same
// arithmetic (its own copy in its portable core; a test keeps the two equal):
// the generator is built on its own for the host and sees none of Option.
#include "art/geometry.h"

namespace art {

// The sets drawn, the 100 % one first; the others go into folders named by the percentage.
inline constexpr int kScalePercents[] = {100, 125, 150, 200};

struct UiScale {
    int percent = 100;

    constexpr int Scale(int v) const {
        const long long n = static_cast<long long>(v) * percent + 50;
        return static_cast<int>(n >= 0 ? n / 100 : -((-n + 99) / 100));
    }
    constexpr Rect ScaleRect(const Rect& r) const {
        return Rect{Scale(r.x), Scale(r.y), Scale(r.x + r.w) - Scale(r.x), Scale(r.y + r.h) - Scale(r.y)};
    }
    // Device pixels per logical pixel.
    constexpr double Factor() const { return percent / 100.0; }
};

}  // namespace art
