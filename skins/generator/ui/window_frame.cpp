#include "ui/window_frame.h"

#include <stdexcept>
#include <string>

#include "art/vector_font.h"
#include "ui/theme.h"
#include "ui/widgets.h"

namespace ui {

using art::Box;
using art::Point;
using art::Rgb;
using art::Rgba;
using namespace theme;

art::ShapePtr WindowOutline(int width, int height, const FrameStyle& style) {
    const double w = width;
    const double h = height;
    const double k = style.cut;
    const auto rounded = art::RoundedRect(Box{0, 0, w, h}, art::CornerRadii{0, style.radius, 0, style.radius});
    const auto cut = art::Polygon({{k, 0}, {w, 0}, {w, h - k}, {w - k, h}, {0, h}, {0, k}});
    art::ShapePtr outline = art::Intersect(rounded, cut);
    if (style.notchWidth > 0) {
        const double cx = w / 2;
        const double half = style.notchWidth / 2;
        const double slope = style.notchDepth * 2;
        outline = art::Subtract(outline, art::Polygon({{cx - half, h + 1},
                                                       {cx - half + slope, h - style.notchDepth},
                                                       {cx + half - slope, h - style.notchDepth},
                                                       {cx + half, h + 1}}));
    }
    return outline;
}

void PaintWindowFrame(art::Canvas& c, const art::ShapePtr& outline, const FrameStyle& style) {
    const Box b = outline->Bounds();
    const double head = style.headerHeight;
    const float headStop = float(head / b.Height());
    c.Fill(outline, art::LinearGradient({0, b.y0}, {0, b.y1},
                                        {{0, Rgb(40, 35, 53)},
                                         {headStop, Rgb(27, 24, 35)},
                                         {headStop, Rgb(24, 22, 31)},
                                         {1, Rgb(14, 13, 18)}}));
    // A cool purple light falls on the header from behind the brand mark.
    c.Fill(outline, art::RadialGradient({b.x0 + 70, b.y0 + 20}, 340, 170,
                                        {{0, Rgba(128, 21, 153, 0.20)}, {1, Rgba(128, 21, 153, 0)}}));
    if (head > 0) {
        c.Fill(art::Segment({b.x0 + 1, head + 0.5}, {b.x1 - 1, head + 0.5}, 1), kBlack, 0.55);
        c.Fill(art::Segment({b.x0 + 1, head + 1.5}, {b.x1 - 1, head + 1.5}, 1), kWhite, 0.045);
    }
    // Rim: a light edge that fades from the top down, and a bevel inside it.
    c.Fill(art::InnerBand(outline, c.Whole(1)),
           art::LinearGradient({0, b.y0}, {0, b.y1}, {{0, Rgb(104, 88, 128)}, {0.3f, Rgb(62, 55, 78)}, {1, Rgb(40, 37, 50)}}));
    c.Fill(art::InnerBand(art::Offset(outline, -c.Whole(1)), c.Whole(1)), kBlack, 0.5);

    // Light strips along the cut corners and the notch.
    const double k = style.cut;
    const auto strip = [&](Point a, Point z) {
        const auto line = art::Segment(a, z, 2);
        c.Glow(line, kAccentBright, 7, 0.35);
        c.Fill(line, Rgb(196, 100, 226));
    };
    strip({5, k + 3}, {k + 3, 5});
    strip({b.x1 - k - 3, b.y1 - 5}, {b.x1 - 5, b.y1 - k - 3});
    if (style.notchWidth > 0) {
        const double cx = b.Center().x;
        const double half = style.notchWidth / 2 - style.notchDepth * 2 - 6;
        const double y = b.y1 - style.notchDepth - 4.5;
        const auto bar = art::Segment({cx - half, y}, {cx + half, y}, 1.5);
        c.Glow(bar, kAccentBright, 6, 0.3);
        c.Fill(bar, art::LinearGradient({cx - half, y}, {cx + half, y},
                                        {{0, art::WithAlpha(kAccent, 0.2f)},
                                         {0.5f, Rgb(206, 120, 236)},
                                         {1, art::WithAlpha(kAccent, 0.2f)}}));
    }
}

double PaintLogo(art::Canvas& c, Point origin, double capHeight) {
    art::TextStyle style;
    style.capHeight = capHeight;
    style.stroke = capHeight * 0.15;
    style.tracking = 2.4;
    style.slant = 0.2;
    const auto mark = art::TextShape("7741", origin, style);
    const Box box{origin.x, origin.y, origin.x + art::TextWidth("7741", style), origin.y + capHeight};
    c.Glow(mark, kAccent, capHeight * 0.55, 0.38);
    c.Fill(art::Translate(mark, {0, 1}), kBlack, 0.6);
    c.Fill(mark, art::VerticalGradient(box, Rgb(236, 186, 250), Rgb(150, 44, 184)));
    return box.x1 + capHeight * style.slant;
}

void PaintCaption(art::Canvas& c, const char* text, Point origin, double capHeight, art::Color color) {
    // A heading with a letter the face lacks would lose it silently: stop the build instead.
    if (!art::HasGlyphs(text)) throw std::runtime_error(std::string("no glyph for a letter of \"") + text + "\"");
    art::TextStyle style;
    style.capHeight = capHeight;
    style.stroke = capHeight >= 10 ? 1.4 : 1.15;
    style.tracking = 4.5;
    const auto shape = art::TextShape(text, origin, style);
    c.Fill(art::Translate(shape, {0, 1}), kBlack, 0.5);
    c.Fill(shape, color);
}

}  // namespace ui
