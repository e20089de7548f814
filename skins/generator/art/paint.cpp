#include "art/paint.h"

#include <algorithm>
#include <cmath>

namespace art {

Color SampleStops(const std::vector<GradientStop>& stops, double t) {
    if (stops.empty()) return Color{0, 0, 0, 0};
    if (t <= stops.front().offset) return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].offset) {
            const double span = stops[i].offset - stops[i - 1].offset;
            const double f = span > 0 ? (t - stops[i - 1].offset) / span : 1.0;
            return Mix(stops[i - 1].color, stops[i].color, float(f));
        }
    }
    return stops.back().color;
}

LinearGradient::LinearGradient(Point from, Point to, std::vector<GradientStop> stops)
    : from_(from), to_(to), stops_(std::move(stops)) {}

Color LinearGradient::At(Point p) const {
    const Point d = to_ - from_;
    const double len2 = Dot(d, d);
    const double t = len2 > 0 ? Dot(p - from_, d) / len2 : 0.0;
    return SampleStops(stops_, std::clamp(t, 0.0, 1.0));
}

RadialGradient::RadialGradient(Point center, double rx, double ry, std::vector<GradientStop> stops)
    : center_(center), rx_(rx), ry_(ry), stops_(std::move(stops)) {}

Color RadialGradient::At(Point p) const {
    const double dx = rx_ > 0 ? (p.x - center_.x) / rx_ : 0.0;
    const double dy = ry_ > 0 ? (p.y - center_.y) / ry_ : 0.0;
    return SampleStops(stops_, std::min(1.0, std::sqrt(dx * dx + dy * dy)));
}

}  // namespace art
