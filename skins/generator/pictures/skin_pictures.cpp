#include "pictures/skin_pictures.h"

#include "art/bmp_file.h"
#include "art/canvas.h"
#include "art/ui_scale.h"
#include "ui/theme.h"

namespace pictures {

using art::Box;
using art::Canvas;
using art::Color;
using art::Rgb;

namespace {

// The thumb stands over a slider's groove: its soft edge is blended onto the
// groove's near-black, never onto the transparent colour, which would fringe
// the shape with pink.
constexpr Color kUnder = Rgb(10, 9, 13);
// A pixel belongs to the shape when at least half of it is covered; the rest
// of the edge is cut away by the window's region.
constexpr float kInside = 0.5f;

art::ShapePtr ThumbShape() {
    const double w = kSliderThumbWidth;
    const double mid = w / 2;
    // A rounded head, and below it a point that reaches into the groove.
    return art::Union({art::RoundedRect(Box{1, 0.5, w - 1, 15}, 3.5),
                       art::Polygon({{1, 12}, {w - 1, 12}, {mid, kSliderThumbHeight + 1.0}})});
}

}  // namespace

art::Image8 RenderSliderThumb(int percent) {
    const double w = kSliderThumbWidth;
    const double h = kSliderThumbHeight;
    const art::UiScale scale{percent};
    const int pw = scale.Scale(kSliderThumbWidth);
    const int ph = scale.Scale(kSliderThumbHeight);
    Canvas c(pw, ph);
    c.SetMapping(art::Mapping::Fit(Box{0, 0, w, h}, Box{0, 0, double(pw), double(ph)}));
    const auto shape = ThumbShape();
    c.Fill(shape, art::VerticalGradient(Box{0, 0, w, h}, Rgb(176, 72, 208), Rgb(98, 16, 122)));
    c.Fill(art::InnerBand(shape, 1), Rgb(214, 142, 238), 0.85);
    // A gloss along the top and two engraved grip lines, symmetric about the middle.
    c.Fill(art::Segment({4, 2.5}, {w - 4, 2.5}, 1), ui::theme::kWhite, 0.3);
    for (const double x : {5.5, w - 5.5}) {
        c.Fill(art::Segment({x, 5.5}, {x, 10.5}, 1), Rgb(58, 6, 72), 0.9);
        c.Fill(art::Segment({x + 1, 5.5}, {x + 1, 10.5}, 1), ui::theme::kWhite, 0.16);
    }

    art::Image8 out(pw, ph, kThumbTransparent);
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x) {
            const Color& p = c.At(x, y);
            if (p.a < kInside) continue;
            Canvas one(1, 1, kUnder);
            one.Blend(0, 0, Color{p.r, p.g, p.b, 1}, p.a);
            out.At(x, y) = one.ToImage(false).At(0, 0);
        }
    return out;
}

std::vector<skin::GeneratedFile> BuildSkinPictures(int percent) {
    return {{kSliderThumbFile, art::EncodeBmp24(RenderSliderThumb(percent))}};
}

}  // namespace pictures
