#pragma once
// What a shape is filled with: one colour or a gradient.
#include <memory>
#include <utility>
#include <vector>

#include "art/color.h"
#include "art/geometry.h"

namespace art {

struct GradientStop {
    float offset;  // 0-1 along the gradient
    Color color;
};

class Paint {
public:
    virtual ~Paint() = default;
    virtual Color At(Point p) const = 0;
};

class SolidPaint final : public Paint {
public:
    explicit SolidPaint(Color c) : color_(c) {}
    Color At(Point) const override { return color_; }

private:
    Color color_;
};

// Colour changes along the line from `from` to `to`; constant across it and
// clamped beyond its ends.
class LinearGradient final : public Paint {
public:
    LinearGradient(Point from, Point to, std::vector<GradientStop> stops);
    LinearGradient(Point from, Point to, Color a, Color b) : LinearGradient(from, to, {{0, a}, {1, b}}) {}
    Color At(Point p) const override;

private:
    Point from_;
    Point to_;
    std::vector<GradientStop> stops_;
};

// Colour changes with the distance from the centre, scaled per axis.
class RadialGradient final : public Paint {
public:
    RadialGradient(Point center, double rx, double ry, std::vector<GradientStop> stops);
    Color At(Point p) const override;

private:
    Point center_;
    double rx_;
    double ry_;
    std::vector<GradientStop> stops_;
};

Color SampleStops(const std::vector<GradientStop>& stops, double t);

// Shorthand for a top-to-bottom gradient over a box.
inline LinearGradient VerticalGradient(const Box& box, Color top, Color bottom) {
    return LinearGradient({box.x0, box.y0}, {box.x0, box.y1}, top, bottom);
}

}  // namespace art
