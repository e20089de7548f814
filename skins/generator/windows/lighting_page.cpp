// The lighting sub-page: on the left a stage with the lit mouse and, under it,
// the direction of the colour run; on the right the mode, the level and the DPI
// colours. The page paints its three labels at fixed places (x 321 to 500, in
// the bands y 110-140, 179-209 and 250-280), so the wells on the right are laid
// around those bands and the buttons start right of them. Under the swatches
// the page paints a legend row (the level numbers 1-5, and a caption under the
// two colours that stay in the profile), 4 pixels below them and 18 high.
#include <cmath>
#include <string>
#include <vector>

#include "icons/app_icons.h"
#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Point;
using art::Rect;
using art::Rgb;
using art::Rgba;
using namespace ui::theme;

namespace {

// The colour run of the lights, from the left side of the mouse to the right.
const std::vector<art::GradientStop> kRun = {
    {0, Rgb(255, 70, 170)}, {0.35f, Rgb(178, 70, 210)}, {0.7f, Rgb(96, 96, 255)}, {1, Rgb(64, 190, 255)}};

void PaintLitMouse(art::Canvas& c, const Box& stage) {
    const Point centre = stage.Center();
    // Light pooling on the floor under the mouse.
    c.Fill(art::RoundedRect(stage, 5),
           art::RadialGradient({centre.x, centre.y + 18}, stage.Width() * 0.55, stage.Height() * 0.5,
                               {{0, Rgba(128, 21, 153, 0.34)}, {0.6f, Rgba(96, 40, 200, 0.10)}, {1, Rgba(96, 40, 200, 0)}}));
    const Box floor{centre.x - 86, centre.y + 78, centre.x + 86, centre.y + 102};
    const auto ring = art::Ellipse(floor.Center(), floor.Width() / 2, floor.Height() / 2);
    c.Glow(ring, kAccent, 14, 0.25);
    c.Fill(art::InnerBand(ring, 1.5), art::LinearGradient({floor.x0, 0}, {floor.x1, 0}, kRun), 0.5);

    const Box body{centre.x - 56, centre.y - 92, centre.x + 56, centre.y + 88};
    const auto mouse = icons::MouseBody(body);
    // The lights: a halo in the colours of the run all around the body.
    c.Glow(mouse, Rgb(150, 60, 220), 26, 0.28);
    c.Glow(mouse, Rgb(200, 90, 240), 9, 0.45);
    c.Fill(mouse, art::LinearGradient({body.x0, body.y0}, {body.x1, body.y1}, Rgb(58, 52, 74), Rgb(14, 13, 18)));
    c.Fill(mouse, art::RadialGradient({body.x0 + 30, body.y0 + 40}, 90, 110,
                                      {{0, Rgba(255, 255, 255, 0.07)}, {1, Rgba(255, 255, 255, 0)}}));
    c.Fill(art::InnerBand(mouse, 2.5), art::LinearGradient({body.x0, 0}, {body.x1, 0}, kRun));
    c.Fill(art::InnerBand(art::Offset(mouse, -2.5), 1), kBlack, 0.5);

    // Button seams and the wheel.
    const double h = body.Height();
    const double w = body.Width();
    c.Fill(art::Intersect(art::Segment({centre.x, body.y0}, {centre.x, body.y0 + 0.4 * h}, 1.5),
                          art::Offset(mouse, -3)),
           Rgb(6, 6, 8), 0.9);
    c.Fill(art::Intersect(art::Polyline({{centre.x - 0.5 * w, body.y0 + 0.36 * h},
                                         {centre.x, body.y0 + 0.41 * h},
                                         {centre.x + 0.5 * w, body.y0 + 0.36 * h}},
                                        1.5),
                          art::Offset(mouse, -3)),
           Rgb(6, 6, 8), 0.8);
    const auto wheel = art::Segment({centre.x, body.y0 + 0.13 * h}, {centre.x, body.y0 + 0.25 * h}, 8);
    c.Fill(wheel, Rgb(10, 10, 13));
    const auto wheelLight = art::Segment({centre.x, body.y0 + 0.14 * h}, {centre.x, body.y0 + 0.24 * h}, 4);
    c.Glow(wheelLight, kAccentBright, 8, 0.6);
    c.Fill(wheelLight, Rgb(226, 150, 248));

    // The light strip across the palm, running in the colours of the run.
    const double y = body.y0 + 0.74 * h;
    const auto strip = art::Segment({centre.x - 0.3 * w, y}, {centre.x + 0.3 * w, y}, 4);
    c.Glow(strip, Rgb(190, 90, 240), 10, 0.55);
    c.Fill(strip, art::LinearGradient({centre.x - 0.3 * w, 0}, {centre.x + 0.3 * w, 0}, kRun));
}

// A strip of lamps standing for the light bar of the mouse, as an ornament of the header.
void PaintLightBar(art::Canvas& c, const Box& bar) {
    const auto shape = art::RoundedRect(bar, bar.Height() / 2);
    c.Fill(shape, Rgb(8, 8, 10));
    c.InnerGlow(shape, kBlack, 3, 0.6);
    c.Fill(art::InnerBand(shape, 1), kEdgeSoft);
    const int lamps = 14;
    const double pitch = (bar.Width() - 12) / (lamps - 1);
    for (int i = 0; i < lamps; ++i) {
        const double t = double(i) / (lamps - 1);
        const art::Color colour = art::SampleStops(kRun, t);
        const auto lamp = art::Circle({bar.x0 + 6 + i * pitch, bar.Center().y}, 2.2);
        c.Glow(lamp, colour, 5, 0.55);
        c.Fill(lamp, art::Mix(colour, kWhite, 0.35f));
    }
}

}  // namespace

void DescribeLightingPage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double bottom = b.Height() - 8;

    // The stage with the mouse, and the direction of the colour run under it.
    const double split = 292;
    ui::Card(bg, {12, 12, split, bottom}, 7);
    const Box stage{20, 20, split - 8, 280};
    ui::Well(bg, stage);
    PaintLitMouse(bg, stage);
    b.AddControl(4, "Direction", Rect{20, 292, int(split) - 28, 30}, "Direction of the colour run",
                 ui::Painted(ui::MenuButtonFace));

    // Mode, level and colours.
    const double left = split + 8;
    const double right = b.Width() - 12;
    ui::Card(bg, {left, 12, right, bottom}, 7);
    PaintLightBar(bg, {left + 16, 44, right - 16, 56});
    ui::AccentRule(bg, left + 1, right - 1, 84.5, 0.4);

    const int buttonX = 504;
    const int buttonW = int(right) - 12 - buttonX;
    ui::Well(bg, Box{left + 8, 100, right - 8, 150});
    b.AddControl(2, "LightMode", Rect{buttonX, 110, buttonW, 30}, "Light mode", ui::Painted(ui::MenuButtonFace));
    ui::Well(bg, Box{left + 8, 169, right - 8, 219});
    b.AddControl(5, "LightLevel", Rect{buttonX, 179, buttonW, 30}, "Brightness or speed",
                 ui::Painted(ui::MenuButtonFace));

    // The swatches of DPIColor0-6 under the colours label: the five level
    // colours under the label, then, set apart, the two that the mouse never gets.
    ui::Well(bg, Box{left + 8, 240, right - 8, bottom - 6});
    constexpr int kSwatches = 7;
    constexpr int kLevelSwatches = 5;
    constexpr int kSwatchW = 26;
    constexpr int kSwatchH = 22;
    constexpr int kSwatchY = 282;
    constexpr int kPitch = 38;
    const int first = 322;
    const int spareFirst = int(right) - 16 - kSwatchW - kPitch;
    for (int i = 0; i < kSwatches; ++i) {
        const int x = i < kLevelSwatches ? first + i * kPitch : spareFirst + (i - kLevelSwatches) * kPitch;
        const Rect swatch{x, kSwatchY, kSwatchW, kSwatchH};
        ui::SwatchWell(bg, swatch);
        b.AddControl(7 + i, "Color" + std::to_string(i), swatch,
                     i < kLevelSwatches ? "Colour of DPI level " + std::to_string(i + 1) : "Spare colour (stored only)",
                     ui::Painted(ui::SwatchFace));
    }
    // A hairline between the level colours and the spare ones.
    const double divider = (first + (kLevelSwatches - 1) * kPitch + kSwatchW + spareFirst) / 2.0;
    bg.Fill(art::Segment({divider, kSwatchY - 2.0}, {divider, kSwatchY + kSwatchH + 22.0}, 1), kEdgeSoft);
}

}  // namespace windows
