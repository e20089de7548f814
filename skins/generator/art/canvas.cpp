#include "art/canvas.h"

#include <algorithm>
#include <cmath>

namespace art {
namespace {

constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Rounds half up, as lround does for the values that survive the clamp, without
// a library call per channel (the 200 % sets convert a great many pixels).
uint8_t ToByte(float v) { return uint8_t(int(std::clamp(double(v) + 0.5, 0.0, 255.5))); }

}  // namespace

Mapping Mapping::Fit(const Box& logical, const Box& device) {
    const double sx = device.Width() / logical.Width();
    const double sy = device.Height() / logical.Height();
    return {sx, sy, device.x0 - logical.x0 * sx, device.y0 - logical.y0 * sy};
}

double Canvas::Whole(int n) const {
    const double s = map_.DistanceScale();
    return std::max(1.0, std::floor(n * s + 0.5)) / s;
}

Box Canvas::OnPixels(const Box& b) const {
    const auto snap = [](double v, double scale, double offset) {
        if (v != std::floor(v)) return v;
        return (std::floor(v * scale + offset + 0.5) - offset) / scale;
    };
    return {snap(b.x0, map_.sx, map_.ox), snap(b.y0, map_.sy, map_.oy), snap(b.x1, map_.sx, map_.ox),
            snap(b.y1, map_.sy, map_.oy)};
}

Canvas::Canvas(int width, int height, Color fill)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), px_(size_t(w_) * h_, fill) {}

void Canvas::Blend(int x, int y, Color c, double opacity) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    const float sa = float(std::clamp(double(c.a) * opacity, 0.0, 1.0));
    if (sa <= 0) return;
    Color& d = px_[size_t(y) * w_ + x];
    const float outA = sa + d.a * (1 - sa);
    if (outA <= 0) {
        d = Color{0, 0, 0, 0};
        return;
    }
    const float keep = d.a * (1 - sa);
    d.r = (c.r * sa + d.r * keep) / outA;
    d.g = (c.g * sa + d.g * keep) / outA;
    d.b = (c.b * sa + d.b * keep) / outA;
    d.a = outA;
}

// Visits the pixels that may meet a logical `area`, handing `fn` each pixel's
// centre in logical coordinates.
template <typename Fn>
void Canvas::ForEachPixel(const Box& logicalArea, Fn&& fn) {
    const Box area = map_.ToDevice(logicalArea);
    const int x0 = std::max(0, int(std::floor(area.x0)) - 1);
    const int y0 = std::max(0, int(std::floor(area.y0)) - 1);
    const int x1 = std::min(w_, int(std::ceil(area.x1)) + 1);
    const int y1 = std::min(h_, int(std::ceil(area.y1)) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) fn(x, y, map_.ToLogical(Point{x + 0.5, y + 0.5}));
}

void Canvas::Fill(const Shape& shape, const Paint& paint, double opacity) {
    const double toPixels = map_.DistanceScale();
    ForEachPixel(shape.Bounds(), [&](int x, int y, Point p) {
        const double cov = CoverageFromDistance(shape.Distance(p) * toPixels);
        if (cov > 0) Blend(x, y, paint.At(p), cov * opacity);
    });
}

void Canvas::Glow(const ShapePtr& shape, Color c, double radius, double opacity) {
    if (radius <= 0) return;
    ForEachPixel(shape->Bounds().Inflated(radius), [&](int x, int y, Point p) {
        const double d = shape->Distance(p);
        if (d >= radius) return;
        const double f = d <= 0 ? 1.0 : 1.0 - d / radius;
        Blend(x, y, c, opacity * f * f);
    });
}

void Canvas::InnerGlow(const ShapePtr& shape, Color c, double radius, double opacity) {
    if (radius <= 0) return;
    const double toPixels = map_.DistanceScale();
    ForEachPixel(shape->Bounds(), [&](int x, int y, Point p) {
        const double d = shape->Distance(p);
        const double cov = CoverageFromDistance(d * toPixels);
        if (cov <= 0 || -d >= radius) return;
        const double f = 1.0 - std::max(-d, 0.0) / radius;
        Blend(x, y, c, opacity * cov * f * f);
    });
}

void Canvas::Paste(const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.h_; ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= h_) continue;
        for (int sx = 0; sx < source.w_; ++sx) {
            const int tx = x + sx;
            if (tx < 0 || tx >= w_) continue;
            px_[size_t(ty) * w_ + tx] = source.At(sx, sy);
        }
    }
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
    Canvas out(width, height);
    out.Paste(*this, -x, -y);
    return out;
}

Image8 Canvas::ToImage(bool dither, int originX, int originY) const {
    Image8 out(w_, h_);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const Color& c = At(x, y);
            float bias = 0;
            if (dither) {
                const int bx = ((x + originX) % 4 + 4) % 4;
                const int by = ((y + originY) % 4 + 4) % 4;
                bias = (kBayer4[by][bx] + 0.5f) / 16.0f - 0.5f;
            }
            out.At(x, y) = Pixel8{ToByte(c.r + bias), ToByte(c.g + bias), ToByte(c.b + bias), ToByte(c.a * 255.0f)};
        }
    }
    return out;
}

}  // namespace art
