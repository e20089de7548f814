#include "art/shape.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace art {
namespace {

constexpr double kFar = std::numeric_limits<double>::max() / 4;

class RoundedRectShape final : public Shape {
public:
    RoundedRectShape(const Box& box, CornerRadii radii) : box_(box) {
        const double limit = std::max(0.0, std::min(box.Width(), box.Height()) / 2);
        radii_ = {std::clamp(radii.topLeft, 0.0, limit), std::clamp(radii.topRight, 0.0, limit),
                  std::clamp(radii.bottomRight, 0.0, limit), std::clamp(radii.bottomLeft, 0.0, limit)};
    }
    double Distance(Point p) const override {
        const Point c = box_.Center();
        const double hx = box_.Width() / 2;
        const double hy = box_.Height() / 2;
        const double px = p.x - c.x;
        const double py = p.y - c.y;
        const double r = px > 0 ? (py > 0 ? radii_.bottomRight : radii_.topRight)
                                : (py > 0 ? radii_.bottomLeft : radii_.topLeft);
        const double qx = std::fabs(px) - hx + r;
        const double qy = std::fabs(py) - hy + r;
        const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return std::min(std::max(qx, qy), 0.0) + outside - r;
    }
    Box Bounds() const override { return box_; }

private:
    Box box_;
    CornerRadii radii_;
};

class EllipseShape final : public Shape {
public:
    EllipseShape(Point c, double rx, double ry) : c_(c), rx_(rx), ry_(ry) {}
    double Distance(Point p) const override {
        const double dx = p.x - c_.x;
        const double dy = p.y - c_.y;
        if (rx_ == ry_) return std::hypot(dx, dy) - rx_;
        // First-order distance to an ellipse: the implicit value divided by its gradient
        // length. Exact enough within the one-pixel band that anti-aliasing reads.
        const double k0 = std::hypot(dx / rx_, dy / ry_);
        const double k1 = std::hypot(dx / (rx_ * rx_), dy / (ry_ * ry_));
        if (k1 == 0) return -std::min(rx_, ry_);
        return k0 * (k0 - 1.0) / k1;
    }
    Box Bounds() const override { return {c_.x - rx_, c_.y - ry_, c_.x + rx_, c_.y + ry_}; }

private:
    Point c_;
    double rx_;
    double ry_;
};

double SegmentDistance(Point p, Point a, Point b) {
    const Point pa = p - a;
    const Point ba = b - a;
    const double len2 = Dot(ba, ba);
    const double h = len2 > 0 ? std::clamp(Dot(pa, ba) / len2, 0.0, 1.0) : 0.0;
    return Length(pa - ba * h);
}

class PolylineShape final : public Shape {
public:
    PolylineShape(std::vector<Point> points, double width) : points_(std::move(points)), half_(width / 2) {
        for (const Point& p : points_) bounds_ = Union(bounds_, Box{p.x, p.y, p.x + 1e-9, p.y + 1e-9});
        bounds_ = bounds_.Inflated(half_);
    }
    double Distance(Point p) const override {
        if (points_.empty()) return kFar;
        double best = Length(p - points_[0]);
        for (size_t i = 1; i < points_.size(); ++i) best = std::min(best, SegmentDistance(p, points_[i - 1], points_[i]));
        return best - half_;
    }
    Box Bounds() const override { return bounds_; }

private:
    std::vector<Point> points_;
    double half_;
    Box bounds_;
};

class PolygonShape final : public Shape {
public:
    explicit PolygonShape(std::vector<Point> v) : v_(std::move(v)) {
        for (const Point& p : v_) bounds_ = Union(bounds_, Box{p.x, p.y, p.x + 1e-9, p.y + 1e-9});
    }
    double Distance(Point p) const override {
        const size_t n = v_.size();
        if (n < 3) return kFar;
        double d = Dot(p - v_[0], p - v_[0]);
        double s = 1.0;
        for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
            const Point e = v_[j] - v_[i];
            const Point w = p - v_[i];
            const double len2 = Dot(e, e);
            const double t = len2 > 0 ? std::clamp(Dot(w, e) / len2, 0.0, 1.0) : 0.0;
            const Point b = w - e * t;
            d = std::min(d, Dot(b, b));
            const bool c1 = p.y >= v_[i].y;
            const bool c2 = p.y < v_[j].y;
            const bool c3 = e.x * w.y > e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
        }
        return s * std::sqrt(d);
    }
    Box Bounds() const override { return bounds_; }

private:
    std::vector<Point> v_;
    Box bounds_;
};

class UnionShape final : public Shape {
public:
    explicit UnionShape(std::vector<ShapePtr> parts) : parts_(std::move(parts)) {
        for (const ShapePtr& s : parts_) bounds_ = Union(bounds_, s->Bounds());
    }
    double Distance(Point p) const override {
        double best = kFar;
        for (const ShapePtr& s : parts_) {
            // A point outside a part's box is at least the gap away from the part:
            // when that is farther than the best so far, the part cannot win.
            const Box b = s->Bounds();
            const double gx = std::max({b.x0 - p.x, 0.0, p.x - b.x1});
            const double gy = std::max({b.y0 - p.y, 0.0, p.y - b.y1});
            if ((gx > 0 || gy > 0) && std::max(gx, gy) > best) continue;
            best = std::min(best, s->Distance(p));
        }
        return best;
    }
    Box Bounds() const override { return bounds_; }

private:
    std::vector<ShapePtr> parts_;
    Box bounds_;
};

class IntersectShape final : public Shape {
public:
    IntersectShape(ShapePtr a, ShapePtr b) : a_(std::move(a)), b_(std::move(b)) {}
    double Distance(Point p) const override { return std::max(a_->Distance(p), b_->Distance(p)); }
    Box Bounds() const override { return Intersection(a_->Bounds(), b_->Bounds()); }

private:
    ShapePtr a_;
    ShapePtr b_;
};

class SubtractShape final : public Shape {
public:
    SubtractShape(ShapePtr from, ShapePtr cut) : from_(std::move(from)), cut_(std::move(cut)) {}
    double Distance(Point p) const override {
        const double from = from_->Distance(p);
        // A point outside the cut's box is at least the gap away from the cut, so
        // the cut's side of the max is at most minus the gap: when that cannot
        // exceed `from`, the cut need not be measured (a notch in a window's
        // edge is measured only near it). The result is the same number.
        const Box b = cut_->Bounds();
        const double gx = std::max({b.x0 - p.x, 0.0, p.x - b.x1});
        const double gy = std::max({b.y0 - p.y, 0.0, p.y - b.y1});
        const double gap = std::max(gx, gy);
        if (gap > 0 && from >= -gap) return from;
        return std::max(from, -cut_->Distance(p));
    }
    Box Bounds() const override { return from_->Bounds(); }

private:
    ShapePtr from_;
    ShapePtr cut_;
};

class OffsetShape final : public Shape {
public:
    OffsetShape(ShapePtr s, double delta) : s_(std::move(s)), delta_(delta) {}
    double Distance(Point p) const override { return s_->Distance(p) - delta_; }
    Box Bounds() const override { return s_->Bounds().Inflated(std::max(delta_, 0.0)); }

private:
    ShapePtr s_;
    double delta_;
};

class TranslateShape final : public Shape {
public:
    TranslateShape(ShapePtr s, Point by) : s_(std::move(s)), by_(by) {}
    double Distance(Point p) const override { return s_->Distance(p - by_); }
    Box Bounds() const override {
        const Box b = s_->Bounds();
        return {b.x0 + by_.x, b.y0 + by_.y, b.x1 + by_.x, b.y1 + by_.y};
    }

private:
    ShapePtr s_;
    Point by_;
};

class InnerBandShape final : public Shape {
public:
    InnerBandShape(ShapePtr s, double width) : s_(std::move(s)), width_(width) {}
    double Distance(Point p) const override {
        const double d = s_->Distance(p);
        return std::max(d, -(d + width_));
    }
    Box Bounds() const override { return s_->Bounds(); }

private:
    ShapePtr s_;
    double width_;
};

}  // namespace

ShapePtr RoundedRect(const Box& box, double radius) {
    return std::make_shared<RoundedRectShape>(box, CornerRadii{radius, radius, radius, radius});
}
ShapePtr RoundedRect(const Box& box, CornerRadii radii) { return std::make_shared<RoundedRectShape>(box, radii); }
ShapePtr Circle(Point center, double radius) { return std::make_shared<EllipseShape>(center, radius, radius); }
ShapePtr Ellipse(Point center, double rx, double ry) { return std::make_shared<EllipseShape>(center, rx, ry); }
ShapePtr Segment(Point a, Point b, double width) {
    return std::make_shared<PolylineShape>(std::vector<Point>{a, b}, width);
}
ShapePtr Polyline(std::vector<Point> points, double width) {
    return std::make_shared<PolylineShape>(std::move(points), width);
}
ShapePtr Polygon(std::vector<Point> points) { return std::make_shared<PolygonShape>(std::move(points)); }
ShapePtr Union(std::vector<ShapePtr> shapes) { return std::make_shared<UnionShape>(std::move(shapes)); }
ShapePtr Intersect(ShapePtr a, ShapePtr b) { return std::make_shared<IntersectShape>(std::move(a), std::move(b)); }
ShapePtr Subtract(ShapePtr from, ShapePtr cut) {
    return std::make_shared<SubtractShape>(std::move(from), std::move(cut));
}
ShapePtr Offset(ShapePtr shape, double delta) { return std::make_shared<OffsetShape>(std::move(shape), delta); }
ShapePtr Translate(ShapePtr shape, Point by) { return std::make_shared<TranslateShape>(std::move(shape), by); }
ShapePtr InnerBand(ShapePtr shape, double width) {
    return std::make_shared<InnerBandShape>(std::move(shape), width);
}

}  // namespace art
