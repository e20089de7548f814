#include "resources/option_resources.h"

#include <algorithm>
#include <string>

#include "art/bmp_file.h"
#include "art/canvas.h"
#include "art/ico_file.h"
#include "art/ui_scale.h"
#include "icons/app_icons.h"
#include "ui/theme.h"

namespace resources {

using art::Box;
using art::Canvas;
using art::Color;
using art::Point;
using art::Rgb;
using namespace ui::theme;

namespace {

constexpr int kC = kScrollCellWidth;

// The bars run beside lists that fill their rows with kField; the track is a
// shade darker so that the bar reads as a gutter.
constexpr Color kTrack = Rgb(20, 18, 26);
constexpr Color kTrackEdge = Rgb(12, 11, 16);

// The scroll bar's parts are drawn for a vertical bar, in a c x c square; the
// horizontal bar's parts are the same pictures turned over the diagonal.

void Track(Canvas& c, ScrollRow row) {
    c.Fill(art::RoundedRect(Box{0, 0, double(kC), double(kC)}, 0), kTrack);
    // Both long edges alike: the bar may stand on either side of its list.
    c.Fill(art::RoundedRect(Box{0, 0, 1, double(kC)}, 0), kTrackEdge);
    c.Fill(art::RoundedRect(Box{kC - 1.0, 0, double(kC), double(kC)}, 0), kTrackEdge);
    const Color groove = row == kNormalRow ? Rgb(34, 30, 44) : row == kHotRow ? Rgb(62, 50, 82) : Rgb(112, 30, 138);
    c.Fill(art::RoundedRect(Box{6, 0, 7, double(kC)}, 0), groove);
}

void Arrow(Canvas& c, ScrollRow row, bool up) {
    Track(c, kNormalRow);
    const Box plate{1, 1, kC - 1.0, kC - 1.0};
    const auto shape = art::RoundedRect(plate, 2.5);
    Color top = Rgb(48, 43, 60), bottom = Rgb(32, 29, 40), edge = kEdge, glyph = kGlyph;
    if (row == kHotRow) {
        top = Rgb(64, 55, 82), bottom = Rgb(42, 37, 55), edge = Rgb(150, 62, 178), glyph = kGlyphHot;
    } else if (row == kPressedRow) {
        top = Rgb(150, 40, 178), bottom = Rgb(100, 17, 122), edge = Rgb(196, 104, 222), glyph = kWhite;
    }
    c.Fill(shape, art::VerticalGradient(plate, top, bottom));
    c.Fill(art::InnerBand(shape, c.Whole(1)), edge);
    // A solid triangle reads better than a stroked chevron at this size.
    const double tip = up ? 4.25 : kC - 4.25;
    const double base = up ? 8.75 : kC - 8.75;
    c.Fill(art::Polygon({{6.5, tip}, {10.0, base}, {3.0, base}}), glyph);
}

void Thumb(Canvas& c, ScrollRow row) {
    Track(c, kNormalRow);
    // Symmetric about the square's middle row, which the bar tiles to stretch the
    // thumb between its two 6-pixel ends.
    const Box body{2, 1, kC - 2.0, kC - 1.0};
    const auto shape = art::RoundedRect(body, 4.5);
    Color left = Rgb(82, 74, 104), right = Rgb(60, 54, 78), edge = Rgb(104, 94, 130);
    if (row == kHotRow) {
        left = Rgb(156, 66, 186), right = Rgb(118, 30, 146), edge = Rgb(200, 110, 226);
    } else if (row == kPressedRow) {
        left = Rgb(204, 122, 232), right = Rgb(154, 46, 184), edge = Rgb(232, 170, 250);
    }
    c.Fill(shape, art::LinearGradient({body.x0, 0}, {body.x1, 0}, left, right));
    c.Fill(art::InnerBand(shape, c.Whole(1)), edge);
}

// The square where a vertical and a horizontal bar meet, for a bar on the right
// of its list (the corner is the frame's lower right): three grip dots point
// into the corner.
void Corner(Canvas& c) {
    c.Fill(art::RoundedRect(Box{0, 0, double(kC), double(kC)}, 0), kTrack);
    const Color dot = Rgb(74, 66, 92);
    for (const Point p : {Point{9.5, 9.5}, Point{6.5, 9.5}, Point{9.5, 6.5}}) c.Fill(art::Circle(p, 1.1), dot);
}

// A canvas of `side` pixels on which the parts draw their kC x kC square.
Canvas SquareCanvas(int side, Color fill) {
    Canvas c(side, side, fill);
    c.SetMapping(art::Mapping::Fit(Box{0, 0, double(kC), double(kC)}, Box{0, 0, double(side), double(side)}));
    return c;
}

art::Image8 Square(void (*paint)(Canvas&, ScrollRow, bool), ScrollRow row, bool flag, int side) {
    Canvas c = SquareCanvas(side, kTrack);
    paint(c, row, flag);
    return c.ToImage(false);
}

void Put(art::Image8& sheet, const art::Image8& square, int column, int row, bool turned) {
    const int side = square.Width();
    const int cellH = sheet.Height() / kScrollRows;
    const int x0 = column * side;
    const int y0 = row * cellH;
    for (int y = 0; y < cellH; ++y)
        for (int x = 0; x < side; ++x) {
            // The cell's rows under its square repeat the square's last row, so a
            // cell copied whole or squeezed to the part still shows the part.
            const int sy = std::min(y, side - 1);
            sheet.At(x0 + x, y0 + y) = turned ? square.At(sy, x) : square.At(x, sy);
        }
}

// Row icons: drawn on a transparent canvas, then flattened onto the list's row
// colour where they are partly covered; what stays uncovered becomes the
// transparent red. No pixel is a blend with the red, which would fringe the icon.
art::Image8 Flatten(const Canvas& c) {
    const Color row = kField;
    art::Image8 out(c.Width(), c.Height(), kTransparentRed);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const Color& p = c.At(x, y);
            if (p.a < 0.2f) continue;
            Canvas one(1, 1, row);
            one.Blend(0, 0, Color{p.r, p.g, p.b, 1}, p.a);
            out.At(x, y) = one.ToImage(false).At(0, 0);
        }
    return out;
}

void Keycap(Canvas& c, Color top, Color bottom, Color edge) {
    const Box cap{1.5, 1.5, 14.5, 14.5};
    const auto shape = art::RoundedRect(cap, 3);
    c.Fill(shape, art::VerticalGradient(cap, top, bottom));
    c.Fill(art::InnerBand(shape, c.Whole(1)), edge);
}

art::ShapePtr VerticalArrow(bool down) {
    const double tipY = down ? 11.5 : 4.5;
    const double headY = down ? 8.5 : 7.5;
    return art::Union({art::Segment({8, 4.5}, {8, 11.5}, 1.6),
                       art::Polyline({{5, headY}, {8, tipY}, {11, headY}}, 1.6)});
}

}  // namespace

int ScrollPartSide(int percent) { return art::UiScale{percent}.Scale(kScrollCellWidth); }
int ScrollCellHeight(int percent) { return art::UiScale{percent}.Scale(kScrollCellHeight); }
int ScrollThumbEnd(int percent) { return (ScrollPartSide(percent) - 1) / 2; }

art::Image8 RenderScrollBarParts(int percent) {
    const int side = ScrollPartSide(percent);
    art::Image8 sheet(kScrollColumns * side, kScrollRows * ScrollCellHeight(percent));
    const auto arrow = [](Canvas& c, ScrollRow r, bool up) { Arrow(c, r, up); };
    const auto thumb = [](Canvas& c, ScrollRow r, bool) { Thumb(c, r); };
    const auto track = [](Canvas& c, ScrollRow r, bool) { Track(c, r); };
    for (ScrollRow row : {kNormalRow, kHotRow, kPressedRow}) {
        const art::Image8 up = Square(arrow, row, true, side);
        const art::Image8 down = Square(arrow, row, false, side);
        const art::Image8 bar = Square(thumb, row, false, side);
        const art::Image8 gutter = Square(track, row, false, side);
        Put(sheet, up, kUpArrow, row, false);
        Put(sheet, down, kDownArrow, row, false);
        Put(sheet, bar, kVerticalThumb, row, false);
        Put(sheet, gutter, kVerticalTrack, row, false);
        Put(sheet, up, kLeftArrow, row, true);
        Put(sheet, down, kRightArrow, row, true);
        Put(sheet, bar, kHorizontalThumb, row, true);
        Put(sheet, gutter, kHorizontalTrack, row, true);
    }
    // The corner column: the frame copies the c x c square at its top for a bar on
    // the right and the square one c lower for a bar on the left, so the second is
    // the first mirrored. The rest of the column is plain gutter.
    Canvas corner = SquareCanvas(side, kTrack);
    Corner(corner);
    const art::Image8 right = corner.ToImage(false);
    const art::Pixel8 plain = Canvas(1, 1, kTrack).ToImage(false).At(0, 0);
    const int x0 = kCorner * side;
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < side; ++x) {
            art::Pixel8 p = plain;
            if (y < side) p = right.At(x, y);
            else if (y < 2 * side) p = right.At(side - 1 - x, y - side);
            sheet.At(x0 + x, y) = p;
        }
    return sheet;
}

namespace {

// A transparent canvas of S(size) pixels on which a picture draws its size x size square.
Canvas IconCanvas(int size, int percent) {
    const int side = art::UiScale{percent}.Scale(size);
    Canvas c(side, side);
    c.SetMapping(art::Mapping::Fit(Box{0, 0, double(size), double(size)}, Box{0, 0, double(side), double(side)}));
    return c;
}

}  // namespace

art::Image8 RenderRowIcon(RowIcon icon, int percent) {
    Canvas c = IconCanvas(kRowIconSize, percent);
    switch (icon) {
        case RowIcon::kDelay: {
            const auto face = art::Circle({8, 8}, 6.4);
            c.Fill(face, Rgb(16, 15, 21));
            c.Fill(art::InnerBand(face, 1.5), Rgb(176, 166, 200));
            c.Fill(art::Segment({8, 8}, {8, 4.6}, 1.5), Rgb(236, 230, 244));
            c.Fill(art::Segment({8, 8}, {10.6, 9.4}, 1.5), Rgb(218, 130, 244));
            c.Fill(art::Circle({8, 8}, 1.1), Rgb(236, 230, 244));
            break;
        }
        case RowIcon::kKeyPress:
            // The key held down: lit in the accent, the arrow pushing into it.
            Keycap(c, Rgb(164, 56, 194), Rgb(104, 18, 128), Rgb(214, 132, 240));
            c.Fill(VerticalArrow(true), kWhite);
            break;
        case RowIcon::kKeyRelease:
            // The key let go: dark again, the arrow lifting off it.
            Keycap(c, Rgb(56, 50, 72), Rgb(34, 31, 44), Rgb(150, 140, 172));
            c.Fill(VerticalArrow(false), Rgb(226, 150, 248));
            break;
        case RowIcon::kMouseButton: {
            const Box body{2.5, 1, 13.5, 15};
            const auto mouse = icons::MouseBody(body);
            c.Fill(mouse, art::VerticalGradient(body, Rgb(66, 60, 84), Rgb(30, 28, 38)));
            const auto left = art::Intersect(art::Offset(mouse, -1), art::RoundedRect(Box{0, 0, 7.5, 6.6}, 0));
            c.Fill(left, art::VerticalGradient(body, Rgb(226, 150, 248), Rgb(150, 40, 178)));
            c.Fill(art::InnerBand(mouse, c.Whole(1)), Rgb(170, 160, 194));
            c.Fill(art::Intersect(art::Segment({8, 1}, {8, 6.6}, 1), mouse), Rgb(16, 15, 21));
            c.Fill(art::Intersect(art::Segment({2, 6.6}, {14, 6.6}, 1), mouse), Rgb(16, 15, 21));
            break;
        }
    }
    return Flatten(c);
}

art::Image8 RenderSubmenuArrow(int percent) {
    Canvas c = IconCanvas(16, percent);
    c.Fill(art::Polygon({{6, 4.5}, {10.5, 8}, {6, 11.5}}), Rgb(236, 228, 246));
    return c.ToImage(false);
}

std::vector<skin::GeneratedFile> BuildOptionResources(int percent) {
    std::vector<skin::GeneratedFile> files;
    files.push_back({"scrollbar_368.bmp", art::EncodeBmp24(RenderScrollBarParts(percent))});
    for (RowIcon icon : kRowIcons)
        files.push_back(
            {"row_icon_" + std::to_string(int(icon)) + ".bmp", art::EncodeBmp24(RenderRowIcon(icon, percent))});
    files.push_back({"submenu_145.ico", art::EncodeIco({RenderSubmenuArrow(percent)})});
    return files;
}

}  // namespace resources
