#pragma once
// A floating-point RGBA drawing surface with coverage-based anti-aliasing.
#include <cmath>
#include <vector>

#include "art/color.h"
#include "art/image.h"
#include "art/paint.h"
#include "art/shape.h"

namespace art {

// Where the coordinates painters use (logical pixels, the 100 % layout) fall
// on a canvas's pixels: device = logical * scale + offset, per axis. A skin
// drawn at 150 % is the same painters on a canvas mapped 1.5 times; a control
// gets a mapping that stretches its logical rectangle onto its rounded pixel
// box, so its art fills the box however the rounding fell.
struct Mapping {
    double sx = 1;
    double sy = 1;
    double ox = 0;
    double oy = 0;

    static Mapping Uniform(double scale) { return {scale, scale, 0, 0}; }
    // `logical` onto `device` exactly (both non-empty).
    static Mapping Fit(const Box& logical, const Box& device);

    Point ToLogical(Point device) const { return {(device.x - ox) / sx, (device.y - oy) / sy}; }
    Box ToDevice(const Box& b) const { return {b.x0 * sx + ox, b.y0 * sy + oy, b.x1 * sx + ox, b.y1 * sy + oy}; }
    // Logical distances become pixels by this factor, for the one-pixel soft edge.
    double DistanceScale() const { return sx == sy ? sx : std::sqrt(sx * sy); }
    // The same mapping on a canvas whose pixel (0, 0) is this one's (x, y).
    Mapping Shifted(int x, int y) const { return {sx, sy, ox - x, oy - y}; }
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Color fill = Color{0, 0, 0, 0});

    // In pixels of the canvas, whatever its mapping.
    int Width() const { return w_; }
    int Height() const { return h_; }
    const Color& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }
    Box Bounds() const { return {0, 0, double(w_), double(h_)}; }

    // Shapes, paints and radii given to Fill, Glow and InnerGlow are in logical
    // coordinates; the identity (the default) draws them as pixels.
    void SetMapping(const Mapping& m) { map_ = m; }
    const Mapping& GetMapping() const { return map_; }
    // A whole number of layout pixels (a rim, a frame's gap) as the nearest whole
    // number of canvas pixels, at least one, in logical units: a one-pixel rim
    // stays one crisp pixel at 125 % and becomes two at 150 %. `n` itself at 100 %.
    double Whole(int n) const;
    // `b` with each edge that lies on a pixel edge of the layout moved onto the
    // nearest pixel edge of the canvas; other edges (a half-pixel line) keep
    // their place. `b` itself at 100 %.
    Box OnPixels(const Box& b) const;

    // Blends `c` over the pixel with the given opacity (0-1), source over.
    void Blend(int x, int y, Color c, double opacity);

    // Fills a shape; each pixel takes its coverage times `opacity` of the paint.
    void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
    void Fill(const ShapePtr& shape, const Paint& paint, double opacity = 1.0) { Fill(*shape, paint, opacity); }
    void Fill(const ShapePtr& shape, Color c, double opacity = 1.0) { Fill(*shape, SolidPaint(c), opacity); }

    // A soft light or shadow that fades out over `radius` pixels outside the shape
    // (and is full inside it): for glows, drop shadows and halos.
    void Glow(const ShapePtr& shape, Color c, double radius, double opacity);
    // Darkens or lights the inside of a shape along its edge, fading over `radius`
    // pixels towards the inside: for recessed fields.
    void InnerGlow(const ShapePtr& shape, Color c, double radius, double opacity);

    // Paste, Crop, Blend and ToImage work in pixels of the canvas.
    // Copies pixels of `source` into this canvas with `source`'s (0, 0) at (x, y).
    void Paste(const Canvas& source, int x, int y);
    Canvas Crop(int x, int y, int width, int height) const;

    // Rounds to 8 bits. With dithering, a 4 x 4 ordered pattern (anchored at the
    // given origin, so that crops of one picture dither alike) spreads the rounding
    // error of slow dark gradients instead of showing bands.
    Image8 ToImage(bool dither, int originX = 0, int originY = 0) const;

private:
    template <typename Fn>
    void ForEachPixel(const Box& area, Fn&& fn);

    int w_ = 0;
    int h_ = 0;
    std::vector<Color> px_;
    Mapping map_;
};

}  // namespace art
