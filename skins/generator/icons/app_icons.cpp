#include "icons/app_icons.h"

#include <algorithm>
#include <cmath>

#include "art/canvas.h"
#include "art/ico_file.h"
#include "ui/theme.h"

namespace icons {

using art::Box;
using art::Rgb;
using art::Rgba;
using namespace ui::theme;

art::ShapePtr MouseBody(const Box& b) {
    constexpr int kSteps = 72;
    constexpr double kPi = 3.14159265358979323846;
    const art::Point c = b.Center();
    std::vector<art::Point> outline;
    for (int i = 0; i < kSteps; ++i) {
        const double t = 2 * kPi * i / kSteps;
        const double taper = 1.0 - 0.13 * std::cos(t);
        outline.push_back({c.x + b.Width() / 2 * std::sin(t) * taper / 1.13, c.y - b.Height() / 2 * std::cos(t)});
    }
    return art::Polygon(std::move(outline));
}

namespace {

// Strokes get thinner with the picture but never under a pixel, so that the
// small sizes stay crisp rather than grey.
double Line(double size, double fraction) { return std::max(1.0, size * fraction); }

void PaintMouse(art::Canvas& c, const Box& b, double iconSize) {
    const auto body = MouseBody(b);
    const double cx = b.Center().x;
    const double h = b.Height();
    c.Glow(art::Translate(body, {0, iconSize / 32}), kBlack, iconSize / 14, 0.5);
    c.Fill(body, art::LinearGradient({b.x0, b.y0}, {b.x1, b.y1}, Rgb(74, 66, 92), Rgb(18, 16, 24)));
    // Rim light, brightest where the light comes from (upper left).
    c.Fill(art::InnerBand(body, Line(iconSize, iconSize >= 48 ? 1.0 / 30 : 1.0 / 22)),
           art::LinearGradient({b.x0, b.y0}, {b.x1, b.y1}, {{0, Rgb(206, 120, 236)}, {0.6f, kAccent}, {1, kAccentDeep}}));
    // The seams of the two main buttons: down the middle, and across where they end.
    const double seam = Line(iconSize, 1.0 / 40);
    c.Fill(art::Intersect(art::Segment({cx, b.y0}, {cx, b.y0 + 0.4 * h}, seam), art::Offset(body, -0.5)),
           Rgb(8, 8, 10), 0.9);
    if (iconSize >= 24) {
        const double w = b.Width();
        c.Fill(art::Intersect(art::Polyline({{cx - 0.5 * w, b.y0 + 0.36 * h}, {cx, b.y0 + 0.41 * h},
                                             {cx + 0.5 * w, b.y0 + 0.36 * h}}, seam), art::Offset(body, -seam)),
               Rgb(8, 8, 10), 0.8);
    }
    // The wheel, lit.
    const auto wheel = art::Segment({cx, b.y0 + 0.13 * h}, {cx, b.y0 + 0.26 * h}, Line(iconSize, 0.085));
    c.Glow(wheel, kAccentBright, iconSize / 10, 0.6);
    c.Fill(wheel, Rgb(226, 150, 248));
    if (iconSize >= 32) {
        // The light strip across the palm.
        const double y = b.y0 + 0.78 * h;
        const auto strip = art::Segment({cx - 0.2 * b.Width(), y}, {cx + 0.2 * b.Width(), y}, Line(iconSize, 1.0 / 40));
        c.Glow(strip, kAccentBright, iconSize / 16, 0.5);
        c.Fill(strip, Rgb(206, 120, 236), 0.9);
    }
}

}  // namespace

art::Image8 RenderMonitorIcon(int size) {
    const double s = size;
    art::Canvas c(size, size);
    PaintMouse(c, Box{0.16 * s, 0.04 * s, 0.84 * s, 0.96 * s}, s);
    return c.ToImage(false);
}

art::Image8 RenderOptionIcon(int size) {
    const double s = size;
    art::Canvas c(size, size);
    const Box tileBox{0.04 * s, 0.04 * s, 0.96 * s, 0.96 * s};
    const auto tile = art::RoundedRect(tileBox, 0.22 * s);
    c.Fill(tile, art::VerticalGradient(tileBox, Rgb(46, 40, 60), Rgb(14, 13, 18)));
    c.Fill(tile, art::RadialGradient({0.3 * s, 0.2 * s}, 0.8 * s, 0.8 * s,
                                     {{0, Rgba(128, 21, 153, 0.45)}, {1, Rgba(128, 21, 153, 0)}}));
    c.Fill(art::InnerBand(tile, Line(s, 1.0 / 24)),
           art::LinearGradient({0, tileBox.y0}, {0, tileBox.y1}, kAccentBright, kAccentDeep));
    PaintMouse(c, Box{0.26 * s, 0.15 * s, 0.74 * s, 0.85 * s}, s);
    return c.ToImage(false);
}

std::vector<skin::GeneratedFile> BuildAppIcons() {
    std::vector<art::Image8> monitor;
    std::vector<art::Image8> option;
    for (int size : kIconSizes) {
        monitor.push_back(RenderMonitorIcon(size));
        option.push_back(RenderOptionIcon(size));
    }
    return {{"monitor.ico", art::EncodeIco(monitor)}, {"option.ico", art::EncodeIco(option)}};
}

}  // namespace icons
