#pragma once
// The frame shared by the suite's top-level windows: an angular outline (two
// cut corners, two rounded ones and a notch in the lower edge), the body with
// its header band, the rim light, and the brand mark.
#include "art/canvas.h"

namespace ui {

struct FrameStyle {
    double cut = 22;          // length of the cut corners (top left, bottom right)
    double radius = 12;       // the other two corners
    double notchWidth = 180;  // notch in the lower edge, at its widest; 0 for none
    double notchDepth = 6;
    double headerHeight = 60; // height of the header band (0 for none)
};

art::ShapePtr WindowOutline(int width, int height, const FrameStyle& style);

// Body, header band and rim of a window with the given outline.
void PaintWindowFrame(art::Canvas& c, const art::ShapePtr& outline, const FrameStyle& style);

// The "7741" mark with its glow; `capHeight` sets its size. Returns its right end.
double PaintLogo(art::Canvas& c, art::Point origin, double capHeight);

// Small spaced capitals for headings and the word mark.
void PaintCaption(art::Canvas& c, const char* text, art::Point origin, double capHeight, art::Color color);

}  // namespace ui
