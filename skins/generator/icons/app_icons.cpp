#include "icons/app_icons.h"

#include <algorithm>

#include "art/canvas.h"
#include "art/ico_file.h"
#include "ui/theme.h"

namespace icons {

using art::Box;
using art::Rgb;
using art::Rgba;
using namespace ui::theme;

namespace {

// The mouse seen from above: narrower at the buttons, fuller at the palm.
art::ShapePtr MouseBody(const Box& b) {
    const double cx = b.Center().x;
    const double w = b.Width();
    const double h = b.Height();
    return art::Union({art::Ellipse({cx, b.y0 + 0.36 * h}, 0.45 * w, 0.36 * h),
                       art::Ellipse({cx, b.y0 + 0.62 * h}, 0.5 * w, 0.38 * h)});
}

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
    c.Fill(art::InnerBand(body, Line(iconSize, 1.0 / 22)),
           art::LinearGradient({b.x0, b.y0}, {b.x1, b.y1}, {{0, Rgb(206, 120, 236)}, {0.6f, kAccent}, {1, kAccentDeep}}));
    // The split between the two main buttons.
    c.Fill(art::Segment({cx, b.y0 + 1}, {cx, b.y0 + 0.36 * h}, Line(iconSize, 1.0 / 36)), Rgb(8, 8, 10), 0.9);
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
    PaintMouse(c, Box{0.2 * s, 0.04 * s, 0.8 * s, 0.96 * s}, s);
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
    PaintMouse(c, Box{0.3 * s, 0.15 * s, 0.7 * s, 0.85 * s}, s);
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
