#pragma once
// Shapes described by signed distance: negative inside, positive outside, in
// pixels. Coverage-based anti-aliasing reads a pixel's coverage from the
// distance at its centre, so every shape gets the same one-pixel soft edge, and
// the hard inside/outside decision (distance <= 0) that window masks need comes
// from the very same function.
#include <memory>
#include <vector>

#include "art/geometry.h"

namespace art {

class Shape {
public:
    virtual ~Shape() = default;
    virtual double Distance(Point p) const = 0;
    // A box that holds every point with Distance <= 0.
    virtual Box Bounds() const = 0;
};

using ShapePtr = std::shared_ptr<const Shape>;

struct CornerRadii {
    double topLeft = 0;
    double topRight = 0;
    double bottomRight = 0;
    double bottomLeft = 0;
};

ShapePtr RoundedRect(const Box& box, double radius);
ShapePtr RoundedRect(const Box& box, CornerRadii radii);
ShapePtr Circle(Point center, double radius);
ShapePtr Ellipse(Point center, double rx, double ry);
// A line of the given width with round ends (a capsule).
ShapePtr Segment(Point a, Point b, double width);
// Connected segments with round joins.
ShapePtr Polyline(std::vector<Point> points, double width);
// A closed polygon (either winding, may be concave).
ShapePtr Polygon(std::vector<Point> points);

ShapePtr Union(std::vector<ShapePtr> shapes);
ShapePtr Intersect(ShapePtr a, ShapePtr b);
ShapePtr Subtract(ShapePtr from, ShapePtr cut);
// Grows (delta > 0) or shrinks (delta < 0) a shape.
ShapePtr Offset(ShapePtr shape, double delta);
ShapePtr Translate(ShapePtr shape, Point by);
// The band of the given width just inside the shape's edge (a border line).
ShapePtr InnerBand(ShapePtr shape, double width);

// Fraction of a pixel covered, from the signed distance at its centre.
inline double CoverageFromDistance(double d) {
    return d <= -0.5 ? 1.0 : d >= 0.5 ? 0.0 : 0.5 - d;
}

}  // namespace art
