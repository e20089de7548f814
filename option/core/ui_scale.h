#pragma once
// The arithmetic of the scaled skin sets, shared by the skin generator and
// Option so that a picture and the program that places it agree to the pixel.
// A coordinate v of the 100 % layout becomes floor((v * p + 50) / 100) at p %:
// rounded half up, in integers only. Rectangles are scaled by their edges, so
// two that touch at 100 % still touch and never overlap. Portable.

struct ScaledRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct UiScale {
    int percent = 100;

    constexpr int Scale(int v) const {
        const long long n = static_cast<long long>(v) * percent + 50;
        // Floor, also for the negative offsets some layouts use.
        return static_cast<int>(n >= 0 ? n / 100 : -((-n + 99) / 100));
    }
    constexpr ScaledRect ScaleRect(int x, int y, int width, int height) const {
        return ScaledRect{Scale(x), Scale(y), Scale(x + width) - Scale(x), Scale(y + height) - Scale(y)};
    }
    constexpr bool IsUnscaled() const { return percent == 100; }
    // The coordinate of the 100 % layout that Scale() turns into `x`. Scaling
    // up never maps two coordinates to one, so every scaled edge has exactly
    // one; a value between two (placed by other means) gets the nearer.
    constexpr int Unscale(int x) const {
        const long long guess = (static_cast<long long>(x) * 100 + (x >= 0 ? percent / 2 : -percent / 2)) / percent;
        for (long long v = guess - 1; v <= guess + 1; ++v)
            if (Scale(static_cast<int>(v)) == x) return static_cast<int>(v);
        return static_cast<int>(guess);
    }
};

// An edge placed at scale `from`, at scale `to`: the window of one set moved
// into the layout of another without the rounding drifting.
constexpr int Rescale(int x, const UiScale& from, const UiScale& to) { return to.Scale(from.Unscale(x)); }
