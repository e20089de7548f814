#include "windows/mouse_layout.h"

#include <utility>

namespace windows::mouse {

using art::Box;
using art::Point;
using art::Rect;

namespace {

constexpr int kCaptionWidth = 192;
constexpr int kCaptionHeight = 26;
constexpr int kLeftColumn = 8;
constexpr int kRightColumn = kViewWidth - 8 - kCaptionWidth;

Rect CaptionAt(Side side, int y) {
    return Rect{side == Side::kLeft ? kLeftColumn : kRightColumn, y, kCaptionWidth, kCaptionHeight};
}

// The leader leaves the caption's inner edge at its middle, bends at the
// given points and ends at `end` on the hot spot's border.
std::vector<Point> Leader(const Rect& caption, Side side, std::vector<Point> bends, Point end) {
    const double x = side == Side::kLeft ? caption.Right() : caption.x;
    std::vector<Point> points{{x, caption.y + caption.h / 2.0}};
    points.insert(points.end(), bends.begin(), bends.end());
    points.push_back(end);
    return points;
}

ButtonPlace Place(int index, const char* badge, const char* name, const char* what, Side side, Rect hotSpot,
                  int captionY, std::vector<Point> bends, Point end, art::ShapePtr surface) {
    ButtonPlace p;
    p.index = index;
    p.badge = badge;
    p.name = name;
    p.what = what;
    p.side = side;
    p.hotSpot = hotSpot;
    p.caption = CaptionAt(side, captionY);
    p.leader = Leader(p.caption, side, std::move(bends), end);
    p.surface = std::move(surface);
    return p;
}

// Seen from above, front up. A right-handed shell: the buttons flare a little
// at the front, the thumb side draws in at the waist, the palm is widest
// behind it.
MouseView MakeTopView() {
    MouseView v;
    v.shell = art::Polygon(SmoothLoop({{296, 13},  {320, 14},  {338, 17.5}, {349, 26},  {354, 42},  {355, 70},
                                       {356, 100}, {358, 135}, {361, 172},  {358, 204}, {346, 226}, {324, 239},
                                       {296, 243}, {268, 239}, {246, 226},  {234, 204}, {231, 176}, {234, 150},
                                       {236, 124}, {237, 95},  {238, 66},   {239, 42},  {244, 26},  {255, 17.5},
                                       {274, 14}},
                                      8));
    // The groove opens at the front edge and ends behind the DPI buttons.
    v.channel = art::Intersect(art::RoundedRect(Box{282.5, 8, 309.5, 134}, art::CornerRadii{0, 0, 10, 10}), v.shell);
    v.wheel = art::RoundedRect(Box{287, 26, 305, 80}, 6);
    v.outline = v.shell;

    // Each main button runs from the front edge back to a seam that sweeps
    // from the groove's end out to the flank.
    const auto leftButton = art::Intersect(
        v.shell, art::Polygon({{180, 0}, {281, 0}, {281, 134}, {272, 128}, {256, 117}, {238, 108}, {180, 104}}));
    const auto rightButton = art::Intersect(
        v.shell, art::Polygon({{412, 0}, {311, 0}, {311, 134}, {320, 128}, {336, 117}, {354, 108}, {412, 104}}));
    const auto dpiUp = art::RoundedRect(Box{288, 88, 304, 104}, 4);
    const auto dpiDown = art::RoundedRect(Box{288, 108, 304, 124}, 4);

    // Captions stand in two columns; a leader crossing the main buttons on its
    // way to the groove bends just outside the shell and runs level from there.
    v.buttons = {
        Place(14, "G6", "WheelUp", "wheel up", Side::kLeft, Rect{287, 26, 18, 18}, 22, {{216, 35}}, {287, 35},
              v.wheel),
        Place(15, "G7", "WheelDown", "wheel down", Side::kLeft, Rect{287, 62, 18, 18}, 58, {{216, 71}},
              {287, 71}, v.wheel),
        Place(0, "G1", "LeftButton", "left button", Side::kLeft, Rect{243, 32, 38, 74}, 94, {{216, 96}}, {243, 96},
              leftButton),
        Place(2, "G3", "WheelClick", "wheel click", Side::kRight, Rect{287, 44, 18, 18}, 30, {{376, 53}}, {305, 53},
              v.wheel),
        Place(1, "G2", "RightButton", "right button", Side::kRight, Rect{311, 32, 38, 74}, 64, {{376, 78}}, {349, 78},
              rightButton),
        Place(5, "G4", "DpiUp", "DPI up button", Side::kRight, Rect{288, 88, 16, 16}, 98, {{376, 96}}, {304, 96},
              dpiUp),
        Place(6, "G5", "DpiDown", "DPI down button", Side::kRight, Rect{288, 108, 16, 16}, 132, {{376, 116}},
              {304, 116}, dpiDown),
    };
    return v;
}

// The left flank, front to the left. The wheel's disc stands behind the body
// and shows above it; the thumb buttons sit under the left button's edge.
MouseView MakeSideView() {
    MouseView v;
    v.shell = art::Polygon(SmoothLoop({{150, 208}, {146, 194}, {148, 180}, {156, 170}, {172, 161}, {196, 149},
                                       {224, 136}, {256, 123}, {290, 112}, {326, 105}, {358, 106}, {388, 114},
                                       {414, 130}, {432, 152}, {440, 176}, {439, 196}, {430, 210}, {410, 215},
                                       {300, 216}, {190, 215}, {160, 213}},
                                      8));
    v.wheel = art::Circle({228, 143}, 24);
    v.outline = art::Union({v.shell, v.wheel});

    // The left button's side: a band under the top edge, down to a seam that
    // runs from the front lip to the button's rear cut. Too slanted for a hot
    // spot to light it well, it is left to the top view.
    v.leftButtonSide = art::Intersect(
        v.shell, art::Polygon({{140, 198}, {150, 196}, {186, 178}, {226, 160}, {266, 146}, {306, 138}, {312, 100},
                               {140, 100}}));
    const auto wheelCap = art::Subtract(v.wheel, v.shell);
    const auto forward = art::RoundedRect(Box{198, 176, 244, 192}, 8);
    const auto back = art::RoundedRect(Box{250, 168, 296, 184}, 8);

    v.buttons = {
        Place(2, "G3", "WheelClick", "wheel click", Side::kLeft, Rect{217, 121, 21, 14}, 60, {}, {227, 121},
              wheelCap),
        Place(4, "G8", "ForwardButton", "forward thumb button", Side::kLeft, Rect{198, 176, 46, 16}, 100,
              {{214, 113}}, {214, 176}, forward),
        Place(3, "G9", "BackButton", "back thumb button", Side::kRight, Rect{250, 168, 46, 16}, 76, {}, {296, 176},
              back),
    };
    return v;
}

}  // namespace

const ButtonPlace* MouseView::Find(int index) const {
    for (const ButtonPlace& b : buttons)
        if (b.index == index) return &b;
    return nullptr;
}

std::vector<Point> SmoothLoop(const std::vector<Point>& knots, int stepsPerSpan) {
    std::vector<Point> out;
    const size_t n = knots.size();
    if (n < 3 || stepsPerSpan < 1) return knots;
    for (size_t i = 0; i < n; ++i) {
        const Point& p0 = knots[(i + n - 1) % n];
        const Point& p1 = knots[i];
        const Point& p2 = knots[(i + 1) % n];
        const Point& p3 = knots[(i + 2) % n];
        for (int s = 0; s < stepsPerSpan; ++s) {
            const double t = double(s) / stepsPerSpan;
            const double t2 = t * t, t3 = t2 * t;
            const auto blend = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
            };
            out.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return out;
}

const MouseView& TopView() {
    static const MouseView view = MakeTopView();
    return view;
}

const MouseView& SideView() {
    static const MouseView view = MakeSideView();
    return view;
}

}  // namespace windows::mouse
