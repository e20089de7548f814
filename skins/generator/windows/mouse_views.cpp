// The two mouse views of the button page: the mouse from above and its left
// flank, drawn like a product shot on the page's stage. Every button the view
// shows has a hot spot on the picture and a caption beside the mouse, joined
// by a leader; all of them come from the view's table in mouse_layout.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "art/vector_font.h"
#include "ui/theme.h"
#include "ui/widgets.h"
#include "ui/window_frame.h"
#include "windows/mouse_layout.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Canvas;
using art::Point;
using art::Rect;
using art::Rgb;
using art::Rgba;
using mouse::ButtonPlace;
using mouse::MouseView;
using skin::State;
using namespace ui::theme;

namespace {

// ---- Pieces shared by both views -------------------------------------------

art::ShapePtr LeaderShape(const ButtonPlace& p, Point shift, double width) {
    std::vector<Point> points;
    for (const Point& q : p.leader) points.push_back(q + shift);
    return art::Polyline(std::move(points), width);
}

// A hairline with a dark halo, so that it reads over the shell as well as
// over the stage, ending in a lit dot on the button.
void PaintLeader(Canvas& c, const ButtonPlace& p, Point shift) {
    const auto line = LeaderShape(p, shift, 1);
    c.Glow(LeaderShape(p, shift, 1.5), kBlack, 2.5, 0.55);
    c.Fill(line, Rgb(150, 112, 178), 0.85);
    const Point end = p.leader.back() + shift;
    const auto dot = art::Circle(end, 2.2);
    c.Glow(dot, kAccentBright, 4, 0.5);
    c.Fill(dot, Rgb(226, 166, 246));
}

// A hot spot's state pictures are cut out of the window's state pictures, so
// leaders that cross it must show in them as they do at rest.
void RepaintLeaders(Canvas& c, const MouseView& view, Point shift) {
    for (const ButtonPlace& p : view.buttons) PaintLeader(c, p, shift);
}

// The caption chip: the program writes the function's name after the 45-pixel
// lead-in, which holds the button's number on a small plate.
void PaintCaptionChip(Canvas& c, const Rect& r, State s, const char* badge) {
    const Box b = r.ToBox();
    const auto chip = art::RoundedRect(b, 5);
    art::Color top, bottom, edge, plateTop, plateBottom, plateEdge, digits;
    switch (s) {
        case State::kNormal:
            top = Rgb(36, 32, 46), bottom = Rgb(24, 22, 31), edge = kEdge;
            plateTop = Rgb(76, 26, 94), plateBottom = Rgb(54, 16, 68), plateEdge = Rgb(118, 46, 142);
            digits = Rgb(222, 196, 234);
            break;
        case State::kOver:
            top = Rgb(46, 40, 60), bottom = Rgb(31, 28, 41), edge = Rgb(150, 62, 178);
            plateTop = Rgb(150, 44, 180), plateBottom = Rgb(104, 20, 128), plateEdge = Rgb(204, 120, 232);
            digits = kWhite;
            break;
        case State::kDown:
            top = Rgb(98, 30, 120), bottom = Rgb(66, 14, 82), edge = Rgb(196, 104, 222);
            plateTop = Rgb(42, 10, 52), plateBottom = Rgb(58, 14, 72), plateEdge = Rgb(214, 140, 240);
            digits = kWhite;
            break;
        case State::kDisable:
            top = Rgb(26, 25, 31), bottom = Rgb(22, 21, 27), edge = kEdgeOff;
            plateTop = Rgb(36, 34, 42), plateBottom = Rgb(32, 30, 37), plateEdge = Rgb(48, 46, 56);
            digits = kGlyphOff;
            break;
    }
    if (s == State::kNormal) c.Glow(art::Translate(chip, {0, 1}), kBlack, 3, 0.35);
    c.Fill(chip, art::VerticalGradient(b, top, bottom));
    c.Fill(art::InnerBand(chip, 1), edge);
    if (s == State::kOver) c.InnerGlow(art::Offset(chip, -1), kAccentBright, 5, 0.18);
    if (s == State::kDown) c.InnerGlow(art::Offset(chip, -1), kBlack, 3, 0.3);
    if (s != State::kDisable && s != State::kDown)
        c.Fill(art::Intersect(art::InnerBand(art::Offset(chip, -1), 1), art::RoundedRect({b.x0, b.y0, b.x1, b.y0 + 6}, 0)),
               kWhite, s == State::kOver ? 0.12 : 0.06);

    const Box plate{b.x0 + 6, b.y0 + 5, b.x0 + 37, b.y1 - 5};
    const auto plateShape = art::RoundedRect(plate, 3);
    if (s == State::kOver) c.Glow(plateShape, kAccentBright, 5, 0.35);
    c.Fill(plateShape, art::VerticalGradient(plate, plateTop, plateBottom));
    c.Fill(art::InnerBand(plateShape, 1), plateEdge);
    art::TextStyle style;
    style.capHeight = 8;
    style.stroke = 1.35;
    style.tracking = 2.6;
    const double width = art::TextWidth(badge, style);
    const Point origin{plate.Center().x - width / 2, plate.Center().y - style.capHeight / 2};
    c.Fill(art::TextShape(badge, origin, style), digits);
    // A hairline between the number and the function's name.
    c.Fill(art::Segment({b.x0 + 41.5, b.y0 + 6}, {b.x0 + 41.5, b.y1 - 6}, 1), kWhite,
           s == State::kDisable ? 0.03 : 0.08);
}

Point ShiftOf(const ButtonPlace& p, const Rect& r) {
    return Point{double(r.x - p.hotSpot.x), double(r.y - p.hotSpot.y)};
}

// A colour whose opacity falls to nothing towards the sides of a box, over
// the given width on each side (left, top, right, bottom; 0 for no fall).
class EdgeFade final : public art::Paint {
public:
    EdgeFade(art::Color color, const Box& box, const double widths[4]) : color_(color), box_(box) {
        for (int i = 0; i < 4; ++i) widths_[i] = widths[i];
    }
    art::Color At(Point p) const override {
        const double distances[4] = {p.x - box_.x0, p.y - box_.y0, box_.x1 - p.x, box_.y1 - p.y};
        double alpha = color_.a;
        for (int i = 0; i < 4; ++i)
            if (widths_[i] > 0) alpha *= std::clamp(distances[i] / widths_[i], 0.0, 1.0);
        return art::WithAlpha(color_, float(alpha));
    }

private:
    art::Color color_;
    Box box_;
    double widths_[4] = {};
};

// A broad button surface lights up inside its hot spot as if from the edge
// the hot spot shares with the button (the main buttons': the groove's, where
// the wheel's light comes from). Towards the hot spot's other sides the light
// fades out before the border, so the cut never shows.
void PaintSurfaceState(Canvas& c, const ButtonPlace& p, const Rect& r, State s) {
    const Point shift = ShiftOf(p, r);
    const auto surface = art::Translate(p.surface, shift);
    const Box box = r.ToBox();
    const auto clip = art::RoundedRect(box, 0);
    const auto inside = art::Intersect(surface, clip);
    const auto edges = art::Intersect(art::InnerBand(surface, 1.5), clip);
    const Point centre = box.Center();
    const Point middles[4] = {{box.x0 + 0.5, centre.y}, {centre.x, box.y0 + 0.5}, {box.x1 - 0.5, centre.y},
                              {centre.x, box.y1 - 0.5}};
    const double extents[4] = {box.Width(), box.Height(), box.Width(), box.Height()};
    bool shared[4];
    for (int i = 0; i < 4; ++i) shared[i] = surface->Distance(middles[i]) > -2.5;
    double widths[4];
    for (int i = 0; i < 4; ++i)
        widths[i] = shared[i] ? 0 : shared[(i + 2) % 4] ? extents[i] * 0.95 : std::min(12.0, extents[i] / 3);
    const auto fade = [&](art::Color color, float alpha) { return EdgeFade(art::WithAlpha(color, alpha), box, widths); };
    switch (s) {
        case State::kNormal: return;
        case State::kOver:
            c.Fill(inside, fade(kAccentBright, 0.5f));
            c.Fill(edges, fade(Rgb(226, 150, 250), 1.0f));
            break;
        case State::kDown:
            c.Fill(inside, fade(Rgb(30, 4, 40), 0.8f));
            c.Fill(inside, fade(kAccent, 0.35f));
            c.Fill(edges, fade(Rgb(244, 200, 255), 1.0f));
            break;
        case State::kDisable:
            c.Fill(inside, fade(Rgb(24, 24, 27), 0.85f));
            break;
    }
}

// A small key (DPI and thumb buttons): the whole face is inside its hot spot.
void PaintKeyFace(Canvas& c, const art::ShapePtr& key, State s) {
    const Box b = key->Bounds();
    switch (s) {
        case State::kNormal:
            c.Fill(key, art::VerticalGradient(b, Rgb(62, 58, 74), Rgb(30, 28, 37)));
            c.Fill(art::InnerBand(key, 1), Rgb(72, 66, 88));
            break;
        case State::kOver:
            c.Fill(key, art::VerticalGradient(b, Rgb(104, 64, 128), Rgb(52, 30, 66)));
            c.InnerGlow(key, kAccentBright, 4, 0.4);
            c.Fill(art::InnerBand(key, 1.2), Rgb(206, 122, 236));
            break;
        case State::kDown:
            c.Fill(key, art::VerticalGradient(b, Rgb(96, 20, 118), Rgb(150, 40, 178)));
            c.InnerGlow(key, kBlack, 3, 0.45);
            c.Fill(art::InnerBand(key, 1.2), Rgb(236, 176, 252));
            break;
        case State::kDisable:
            c.Fill(key, Rgb(30, 29, 34));
            c.Fill(art::InnerBand(key, 1), kEdgeOff);
            break;
    }
    if (s != State::kDisable && s != State::kDown) {
        const auto highlight = art::Intersect(art::InnerBand(art::Offset(key, -1), 1),
                                              art::RoundedRect({b.x0, b.y0, b.x1, b.y0 + 4}, 0));
        c.Fill(highlight, kWhite, s == State::kOver ? 0.22 : 0.14);
    }
}

art::Color MarkColor(State s) {
    switch (s) {
        case State::kNormal: return kGlyph;
        case State::kOver: return kGlyphHot;
        case State::kDown: return kWhite;
        case State::kDisable: return kGlyphOff;
    }
    return kGlyph;
}

// ---- The top view ----------------------------------------------------------

// The wheel's tyre: shaded as a cylinder, with ridges across it. The same
// ridges are drawn in every state so that the hot spots' cuts line up.
void PaintTyre(Canvas& c, const art::ShapePtr& tyre, const art::ShapePtr& clip, art::Color edge, art::Color middle,
               double ridgeOpacity) {
    const Box b = tyre->Bounds();
    const auto part = art::Intersect(tyre, clip);
    c.Fill(part, art::LinearGradient({b.x0, 0}, {b.x1, 0}, {{0, edge}, {0.45f, middle}, {0.6f, middle}, {1, edge}}));
    for (double y = b.y0 + 3; y < b.y1 - 1; y += 3) {
        const auto ridge = art::Intersect(art::RoundedRect({b.x0, y, b.x1, y + 1}, 0), part);
        c.Fill(ridge, kBlack, ridgeOpacity);
        c.Fill(art::Intersect(art::RoundedRect({b.x0, y + 1, b.x1, y + 2}, 0), part), kWhite, ridgeOpacity * 0.14);
    }
    // The tyre turns away from the eye at both ends.
    c.Fill(part, art::LinearGradient({0, b.y0}, {0, b.y1},
                                     {{0, Rgba(0, 0, 0, 0.55f)}, {0.18f, Rgba(0, 0, 0, 0)}, {0.82f, Rgba(0, 0, 0, 0)},
                                      {1, Rgba(0, 0, 0, 0.55f)}}));
}

void PaintDpiMark(Canvas& c, const ButtonPlace& p, Point shift, State s) {
    const Point m = p.surface->Bounds().Center() + shift;
    const art::Color colour = MarkColor(s);
    c.Fill(art::Segment({m.x - 3, m.y}, {m.x + 3, m.y}, 1.4), colour);
    if (p.index == 5) c.Fill(art::Segment({m.x, m.y - 3}, {m.x, m.y + 3}, 1.4), colour);
}

void PaintTopMouse(Canvas& bg, const MouseView& v) {
    const Box body = v.shell->Bounds();
    const double cx = body.Center().x;
    // Resting on the stage: a soft shadow, and the accent light the stage
    // throws back on the mouse's edge.
    bg.Fill(art::Ellipse({cx, body.y1 - 6}, 78, 14), art::RadialGradient({cx, body.y1 - 6}, 78, 14,
                                                                         {{0, Rgba(0, 0, 0, 0.75f)}, {1, Rgba(0, 0, 0, 0)}}));
    bg.Glow(art::Translate(v.shell, {0, 6}), kBlack, 16, 0.6);
    bg.Glow(v.shell, kAccent, 9, 0.28);

    // The shell: matte black, its crown catching the light from above left.
    bg.Fill(v.shell, Rgb(16, 15, 20));
    bg.Fill(v.shell, art::RadialGradient({cx - 10, body.y0 + 150}, 82, 150,
                                         {{0, Rgb(50, 46, 60)}, {0.55f, Rgba(30, 28, 37, 0.8f)}, {1, Rgba(16, 15, 20, 0)}}));
    bg.InnerGlow(v.shell, kBlack, 20, 0.6);

    const ButtonPlace& left = *v.Find(0);
    const ButtonPlace& right = *v.Find(1);
    const auto inner = art::Offset(v.shell, -1.5);
    for (const ButtonPlace* button : {&left, &right}) {
        // The buttons have a smoother finish that holds a long reflection.
        const Box bb = button->surface->Bounds();
        bg.Fill(button->surface, art::LinearGradient({0, bb.y0}, {0, bb.y1},
                                                     {{0, Rgba(255, 255, 255, 0.07f)}, {1, Rgba(255, 255, 255, 0.0f)}}));
        bg.Fill(art::Intersect(art::InnerBand(button->surface, 1.4), inner), kBlack, 0.75);
        bg.Fill(art::Intersect(art::Translate(art::InnerBand(button->surface, 1), {0, 1.2}), inner), kWhite, 0.05);
    }
    const double glintX = left.surface->Bounds().x0 + 14;
    bg.Fill(art::Intersect(art::Ellipse({glintX, 64}, 6, 30), left.surface),
            art::RadialGradient({glintX, 64}, 6, 30, {{0, Rgba(255, 255, 255, 0.09f)}, {1, Rgba(255, 255, 255, 0)}}));

    bg.Fill(art::Ellipse({cx - 14, body.y0 + 168}, 24, 44),
            art::RadialGradient({cx - 14, body.y0 + 168}, 24, 44, {{0, Rgba(255, 255, 255, 0.07f)}, {1, Rgba(255, 255, 255, 0)}}));

    // The groove: a dark well, lit purple from under the wheel.
    const Box groove = v.channel->Bounds();
    bg.Fill(v.channel, art::VerticalGradient(groove, Rgb(6, 6, 8), Rgb(12, 11, 15)));
    bg.InnerGlow(v.channel, kBlack, 4, 0.7);
    const Box tyre = v.wheel->Bounds();
    bg.Fill(v.channel, art::RadialGradient(tyre.Center(), 18, 44, {{0, Rgba(178, 70, 210, 0.55f)}, {1, Rgba(128, 21, 153, 0)}}));
    bg.Fill(art::Intersect(art::InnerBand(v.channel, 1), art::RoundedRect({groove.x0, groove.y0 + 8, groove.x1, groove.y1}, 0)),
            Rgb(44, 40, 54), 0.8);

    bg.Glow(v.wheel, kBlack, 3, 0.6);
    PaintTyre(bg, v.wheel, v.wheel, Rgb(14, 13, 17), Rgb(74, 70, 84), 0.65);
    bg.Fill(art::InnerBand(v.wheel, 1), Rgb(10, 10, 12), 0.8);

    for (int index : {5, 6}) {
        const ButtonPlace& key = *v.Find(index);
        bg.Glow(art::Translate(key.surface, {0, 1.5}), kBlack, 3, 0.7);
        PaintKeyFace(bg, key.surface, State::kNormal);
        PaintDpiMark(bg, key, {0, 0}, State::kNormal);
    }
    // A lamp behind the DPI buttons shows the level in the mouse's colour.
    const double lampY = v.Find(6)->surface->Bounds().y1 + 5;
    const auto lamp = art::Segment({cx - 4, lampY}, {cx + 4, lampY}, 2);
    bg.Glow(lamp, kAccentBright, 5, 0.7);
    bg.Fill(lamp, Rgb(226, 150, 250));

    // Light strips along both sides of the palm, and the lit mark on it.
    const auto strip = art::Intersect(art::InnerBand(art::Offset(v.shell, -4), 1.6),
                                      art::RoundedRect({body.x0, 150, body.x1, body.y1 - 26}, 0));
    bg.Glow(strip, kAccent, 5, 0.4);
    bg.Fill(strip, art::LinearGradient({0, 150}, {0, body.y1 - 26},
                                       {{0, Rgba(178, 70, 210, 0)}, {0.5f, Rgb(200, 110, 232)}, {1, Rgba(178, 70, 210, 0)}}));
    art::TextStyle mark;
    mark.capHeight = 9;
    mark.tracking = 2.4;
    mark.slant = 0.2;
    const double width = art::TextWidth("7741", mark);
    ui::PaintLogo(bg, {cx - width / 2 - 1, body.y1 - 62}, 9);

    // The rim catches the stage's purple along the thumb side.
    bg.Fill(art::InnerBand(v.shell, 1.3),
            art::LinearGradient({body.x0, 0}, {body.x1, 0},
                                {{0, Rgba(200, 110, 236, 0.85f)}, {0.5f, Rgba(110, 90, 130, 0.35f)}, {1, Rgba(178, 70, 210, 0.6f)}}));
}

void PaintWheelZone(Canvas& c, const MouseView& v, const ButtonPlace& p, const Rect& r, State s) {
    const Point shift = ShiftOf(p, r);
    const auto tyre = art::Translate(v.wheel, shift);
    const auto clip = art::RoundedRect(r.ToBox(), 0);
    switch (s) {
        case State::kNormal: return;
        case State::kOver: PaintTyre(c, tyre, clip, Rgb(60, 22, 76), Rgb(176, 104, 210), 0.5); break;
        case State::kDown: PaintTyre(c, tyre, clip, Rgb(46, 8, 58), Rgb(214, 140, 244), 0.45); break;
        case State::kDisable: PaintTyre(c, tyre, clip, Rgb(20, 20, 23), Rgb(42, 41, 46), 0.5); break;
    }
    if (s == State::kDisable) return;
    // Which way the wheel goes, or a dot for the click.
    const Point m = r.ToBox().Center();
    art::ShapePtr glyph;
    if (p.index == 14) glyph = art::Polyline({{m.x - 4, m.y + 2}, {m.x, m.y - 2}, {m.x + 4, m.y + 2}}, 1.8);
    else if (p.index == 15) glyph = art::Polyline({{m.x - 4, m.y - 2}, {m.x, m.y + 2}, {m.x + 4, m.y - 2}}, 1.8);
    else glyph = art::Circle(m, 2.4);
    c.Glow(glyph, kBlack, 3, 0.7);
    c.Fill(glyph, kWhite);
}

// ---- The side view ---------------------------------------------------------

// The wheel's disc as the flank shows it: a dark face and a ridged tyre
// around it, of which only the top shows above the body.
void PaintWheelDisc(Canvas& c, const art::ShapePtr& disc, const art::ShapePtr& clip, art::Color tyre, art::Color face,
                    double ridgeOpacity) {
    const Box b = disc->Bounds();
    const Point o = b.Center();
    const double radius = b.Width() / 2;
    const auto part = art::Intersect(disc, clip);
    c.Fill(part, art::RadialGradient({o.x - 4, o.y - 6}, radius, radius, {{0, tyre}, {1, art::Shade(tyre, -0.5f)}}));
    c.Fill(art::Intersect(art::Circle(o, radius - 5), part), face);
    for (int i = 0; i < 48; ++i) {
        const double a = i * 3.14159265358979 * 2 / 48;
        const Point dir{std::cos(a), std::sin(a)};
        c.Fill(art::Intersect(art::Segment(o + dir * (radius - 4.5), o + dir * (radius - 0.5), 1.1), part), kBlack,
               ridgeOpacity);
    }
}

void PaintSideMouse(Canvas& bg, const MouseView& v) {
    const Box body = v.shell->Bounds();
    const double cx = body.Center().x;
    bg.Fill(art::Ellipse({cx, body.y1 + 1}, 160, 9), art::RadialGradient({cx, body.y1 + 1}, 160, 9,
                                                                        {{0, Rgba(0, 0, 0, 0.8f)}, {1, Rgba(0, 0, 0, 0)}}));
    bg.Glow(v.shell, kAccent, 9, 0.26);

    // The wheel first: the body hides all but its top.
    const auto cap = art::Subtract(v.wheel, v.shell);
    bg.Glow(cap, kAccent, 7, 0.45);
    PaintWheelDisc(bg, v.wheel, v.wheel, Rgb(92, 88, 106), Rgb(30, 28, 36), 0.7);
    bg.Fill(art::Intersect(art::InnerBand(v.wheel, 1.2), art::Offset(cap, 0.5)), Rgb(150, 140, 166), 0.6);

    // Lit from above: the top of the body is lighter, the flank falls off
    // into the shade under the thumb.
    bg.Fill(v.shell, art::VerticalGradient(body, Rgb(46, 42, 56), Rgb(12, 11, 15)));
    bg.Fill(v.shell, art::RadialGradient({cx + 20, body.y0 + 30}, 150, 60,
                                         {{0, Rgba(255, 255, 255, 0.06f)}, {1, Rgba(255, 255, 255, 0)}}));
    bg.InnerGlow(v.shell, kBlack, 14, 0.55);

    const auto& leftSide = v.leftButtonSide;
    const auto inner = art::Offset(v.shell, -1.5);
    const Box lb = leftSide->Bounds();
    bg.Fill(leftSide, art::LinearGradient({0, lb.y0}, {0, lb.y1},
                                          {{0, Rgba(255, 255, 255, 0.08f)}, {1, Rgba(255, 255, 255, 0.01f)}}));
    bg.Fill(art::Intersect(art::InnerBand(leftSide, 1.4), inner), kBlack, 0.75);
    bg.Fill(art::Intersect(art::Translate(art::InnerBand(leftSide, 1), {0, 1.2}), inner), kWhite, 0.05);

    // The thumb rest: a shallow hollow under the thumb buttons, and a grip of
    // fine grooves behind them.
    bg.Fill(art::Intersect(art::Ellipse({262, 198}, 70, 12), inner),
            art::RadialGradient({262, 198}, 70, 12, {{0, Rgba(0, 0, 0, 0.45f)}, {1, Rgba(0, 0, 0, 0)}}));
    const auto grip = art::Intersect(art::Offset(v.shell, -8), art::Ellipse({350, 176}, 44, 18));
    for (double x = 300; x < 400; x += 4) {
        const auto groove = art::Intersect(art::Segment({x, 200}, {x + 14, 152}, 1), grip);
        bg.Fill(groove, kBlack, 0.35);
        bg.Fill(art::Translate(groove, {1, 0}), kWhite, 0.035);
    }

    for (int index : {3, 4}) {
        const ButtonPlace& key = *v.Find(index);
        bg.Glow(art::Translate(key.surface, {0, 2}), kBlack, 4, 0.75);
        PaintKeyFace(bg, key.surface, State::kNormal);
    }

    // The base and its light: a strip along the foot that the stage reflects.
    const auto foot = art::Intersect(v.shell, art::RoundedRect({body.x0, body.y1 - 8, body.x1, body.y1}, 0));
    bg.Fill(foot, Rgb(8, 8, 10), 0.85);
    const double footY = body.y1 - 8;
    const auto light = art::Intersect(art::Segment({body.x0 + 22, footY}, {body.x1 - 18, footY}, 1.6), inner);
    bg.Glow(light, kAccentBright, 6, 0.55);
    bg.Fill(light, art::LinearGradient({body.x0, 0}, {body.x1, 0},
                                       {{0, Rgba(178, 70, 210, 0.1f)}, {0.5f, Rgb(214, 130, 242)}, {1, Rgba(178, 70, 210, 0.1f)}}));

    // A long glint along the top, where the shell turns from the flank to the back.
    const auto ridge = art::Intersect(art::InnerBand(art::Offset(v.shell, -3), 1.4),
                                      art::Polygon({{body.x0, body.y0}, {body.x1, body.y0}, {body.x1, 140}, {body.x0, 175}}));
    bg.Fill(ridge, art::LinearGradient({body.x0 + 40, 0}, {body.x1 - 30, 0},
                                       {{0, Rgba(255, 255, 255, 0)}, {0.55f, Rgba(255, 255, 255, 0.22f)},
                                        {1, Rgba(255, 255, 255, 0)}}));

    bg.Fill(art::InnerBand(v.shell, 1.3),
            art::LinearGradient({0, body.y0}, {0, body.y1},
                                {{0, Rgba(206, 130, 236, 0.8f)}, {0.5f, Rgba(120, 96, 140, 0.3f)}, {1, Rgba(60, 50, 70, 0.2f)}}));
}

void PaintWheelCap(Canvas& c, const MouseView& v, const ButtonPlace& p, const Rect& r, State s) {
    const Point shift = ShiftOf(p, r);
    const auto disc = art::Translate(v.wheel, shift);
    const auto clip = art::Intersect(art::Translate(p.surface, shift), art::RoundedRect(r.ToBox(), 0));
    switch (s) {
        case State::kNormal: return;
        case State::kOver:
            c.InnerGlow(clip, kAccentBright, 3, 0.5);
            PaintWheelDisc(c, disc, clip, Rgb(190, 110, 226), Rgb(70, 30, 88), 0.45);
            break;
        case State::kDown: PaintWheelDisc(c, disc, clip, Rgb(226, 150, 250), Rgb(96, 20, 118), 0.4); break;
        case State::kDisable: PaintWheelDisc(c, disc, clip, Rgb(40, 39, 44), Rgb(24, 24, 27), 0.4); break;
    }
}

// ---- Entries ---------------------------------------------------------------

enum class Look { kSurface, kWheelZone, kWheelCap, kDpiKey, kThumbKey };

void PaintHotSpot(const MouseView& v, const ButtonPlace& p, Look look, Canvas& c, const Rect& r, State s) {
    if (s == State::kNormal) return;
    const Point shift = ShiftOf(p, r);
    switch (look) {
        case Look::kSurface: PaintSurfaceState(c, p, r, s); break;
        case Look::kWheelZone: PaintWheelZone(c, v, p, r, s); break;
        case Look::kWheelCap: PaintWheelCap(c, v, p, r, s); break;
        case Look::kDpiKey:
            PaintKeyFace(c, art::Translate(p.surface, shift), s);
            PaintDpiMark(c, p, shift, s);
            break;
        case Look::kThumbKey: PaintKeyFace(c, art::Translate(p.surface, shift), s); break;
    }
    RepaintLeaders(c, v, shift);
}

void AddEntries(skin::SkinBuilder& b, const MouseView& v, Look (*lookOf)(int index)) {
    for (const ButtonPlace& p : v.buttons) {
        const std::string name = p.name;
        const std::string badge = p.badge;
        const char* label = p.badge;
        std::string what = p.what;
        b.AddControl(mouse::CaptionEntry(p.index), name + "Caption", p.caption,
                     "What " + badge + " (" + what + ") does",
                     [label](Canvas& c, const Rect& r, State s) { PaintCaptionChip(c, r, s, label); });
        const Look look = lookOf(p.index);
        const MouseView* view = &v;
        const ButtonPlace* place = &p;
        what[0] = char(std::toupper(static_cast<unsigned char>(what[0])));
        b.AddControl(mouse::HotSpotEntry(p.index), name, p.hotSpot, what + " (" + badge + ") - choose its function",
                     [view, place, look](Canvas& c, const Rect& r, State s) { PaintHotSpot(*view, *place, look, c, r, s); });
    }
}

Look TopLook(int index) {
    switch (index) {
        case 0:
        case 1: return Look::kSurface;
        case 5:
        case 6: return Look::kDpiKey;
        default: return Look::kWheelZone;
    }
}

Look SideLook(int index) { return index == 2 ? Look::kWheelCap : Look::kThumbKey; }

}  // namespace

void DescribeMouseTopView(skin::SkinBuilder& b) {
    const MouseView& v = mouse::TopView();
    PaintTopMouse(b.Background(), v);
    for (const ButtonPlace& p : v.buttons) PaintLeader(b.Background(), p, {0, 0});
    AddEntries(b, v, TopLook);
}

void DescribeMouseSideView(skin::SkinBuilder& b) {
    const MouseView& v = mouse::SideView();
    PaintSideMouse(b.Background(), v);
    for (const ButtonPlace& p : v.buttons) PaintLeader(b.Background(), p, {0, 0});
    AddEntries(b, v, SideLook);
}

}  // namespace windows
