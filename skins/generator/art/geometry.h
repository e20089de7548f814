#pragma once
// Points, pixel rectangles and floating-point boxes.
#include <algorithm>
#include <cmath>

namespace art {

struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double s) { return {a.x * s, a.y * s}; }
inline double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
inline double Length(Point a) { return std::sqrt(Dot(a, a)); }

// A box in continuous coordinates: pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct Box {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;

    double Width() const { return x1 - x0; }
    double Height() const { return y1 - y0; }
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    Box Inflated(double d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
    Point Center() const { return {(x0 + x1) / 2, (y0 + y1) / 2}; }
};

inline Box Union(const Box& a, const Box& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

inline Box Intersection(const Box& a, const Box& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// A rectangle of whole pixels, as the skin description files give it.
struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
    Box ToBox() const { return {double(x), double(y), double(x + w), double(y + h)}; }
    Rect Offset(int dx, int dy) const { return {x + dx, y + dy, w, h}; }
    bool Contains(const Rect& o) const {
        return o.x >= x && o.y >= y && o.Right() <= Right() && o.Bottom() <= Bottom();
    }
};

}  // namespace art
