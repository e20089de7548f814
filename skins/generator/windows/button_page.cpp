// The button sub-page: one panel whose header holds the switch between the top
// and the side view of the mouse, over the stage where the views are placed.
// The views bring their own pictures; the stage is what shows around them.
#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;
using art::Rgba;
using namespace ui::theme;

namespace {

// A dark stage lit from above, with a pedestal ring where the mouse stands.
void PaintStage(art::Canvas& c, const Rect& r) {
    const Box box = r.ToBox();
    ui::Well(c, box);
    const art::Point centre = box.Center();
    const auto inside = art::RoundedRect(box.Inflated(-1), 4);
    c.Fill(inside, art::RadialGradient({centre.x, box.y0}, box.Width() * 0.42, box.Height() * 1.05,
                                       {{0, Rgba(178, 70, 210, 0.16)}, {0.55f, Rgba(128, 21, 153, 0.05)},
                                        {1, Rgba(128, 21, 153, 0)}}));
    const double y = box.y1 - 36;
    c.Fill(art::Ellipse({centre.x, y}, 170, 18), art::RadialGradient({centre.x, y}, 170, 18,
                                                                      {{0, Rgba(128, 21, 153, 0.40)},
                                                                       {1, Rgba(128, 21, 153, 0)}}));
    for (int i = 0; i < 3; ++i) {
        const double rx = 150 + 52 * i;
        const double ry = 15 + 6 * i;
        const auto ring = art::Intersect(art::InnerBand(art::Ellipse({centre.x, y}, rx, ry), 1.2), inside);
        // Brightest in front, fading towards the back and the sides.
        c.Fill(ring, art::RadialGradient({centre.x, y + ry * 0.6}, rx * 1.15, ry * 2.6,
                                         {{0, Rgba(200, 100, 236, 1)}, {1, Rgba(128, 21, 153, 0)}}),
               0.7 - 0.22 * i);
    }
}

}  // namespace

void DescribeButtonPage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double right = b.Width() - 12;
    const double bottom = b.Height() - 12;
    ui::HeadedPanel(bg, {12, 12, right, bottom}, 44);
    // Captions (texts 26 and 27) are written by the page over the two halves.
    b.AddControl(1, "TopView", Rect{28, 19, 132, 30}, "Mouse seen from above", ui::Painted(ui::SegmentLeft));
    b.AddControl(2, "SideView", Rect{160, 19, 132, 30}, "Mouse seen from the side", ui::Painted(ui::SegmentRight));
    const Rect views{20, 64, int(right) - 28, int(bottom) - 72};
    PaintStage(bg, views);
    b.AddArea(3, "MouseViews", views, "Place of the mouse views");
}

}  // namespace windows
