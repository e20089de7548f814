#include "ui/widgets.h"

#include <algorithm>

#include "ui/theme.h"

namespace ui {

using art::Box;
using art::Canvas;
using art::Color;
using art::Rect;
using art::Rgb;
using art::Rgba;
using namespace theme;

namespace {

// A one-pixel highlight along the top inside edge of a face.
void TopHighlight(Canvas& c, const art::ShapePtr& face, const Box& b, double radius, double opacity) {
    const auto band = art::InnerBand(art::Offset(face, -c.Whole(1)), c.Whole(1));
    const auto top = art::RoundedRect(Box{b.x0, b.y0, b.x1, b.y0 + radius + 2.5}, 0);
    c.Fill(art::Intersect(band, top), kWhite, opacity);
}

void Face(Canvas& c, const art::ShapePtr& face, const Box& b, Color top, Color bottom, Color edge) {
    c.Fill(face, art::VerticalGradient(b, top, bottom));
    c.Fill(art::InnerBand(face, c.Whole(1)), edge);
}

Color GlyphColor(State s) {
    switch (s) {
        case State::kNormal: return kGlyph;
        case State::kOver: return kGlyphHot;
        case State::kDown: return kWhite;
        case State::kDisable: return kGlyphOff;
    }
    return kGlyph;
}

}  // namespace

void PushFace(Canvas& c, const Rect& r, State s, double radius) {
    const Box b = r.ToBox();
    const auto face = art::RoundedRect(b, radius);
    switch (s) {
        case State::kNormal:
            c.Glow(art::Translate(face, {0, 1}), kBlack, 3, 0.35);
            Face(c, face, b, Rgb(44, 40, 56), Rgb(29, 27, 37), kEdge);
            TopHighlight(c, face, b, radius, 0.07);
            break;
        case State::kOver:
            // Stays dark behind the caption (the hover caption is the accent) and
            // lights up at its rim instead.
            Face(c, face, b, Rgb(50, 44, 64), Rgb(33, 30, 43), Rgb(150, 62, 178));
            c.InnerGlow(art::Offset(face, -1), kAccentBright, 5, 0.22);
            TopHighlight(c, face, b, radius, 0.14);
            break;
        case State::kDown:
            Face(c, face, b, Rgb(150, 40, 178), Rgb(100, 17, 122), Rgb(196, 104, 222));
            c.InnerGlow(art::Offset(face, -1), kBlack, 3, 0.28);
            break;
        case State::kDisable:
            Face(c, face, b, Rgb(28, 26, 33), Rgb(24, 23, 29), kEdgeOff);
            break;
    }
}

void MenuButtonFace(Canvas& c, const Rect& r, State s) {
    PushFace(c, r, s);
    const Box b = r.ToBox();
    const double zone = std::min(24.0, b.Width() / 3);
    const Box glyph{b.x1 - zone, b.y0, b.x1 - 2, b.y1};
    c.Fill(art::Segment({b.x1 - zone, b.y0 + 6}, {b.x1 - zone, b.y1 - 6}, 1),
           s == State::kDown ? Rgba(255, 255, 255, 0.25) : Rgba(255, 255, 255, 0.07));
    c.Fill(PictogramShape(Pictogram::kChevronDown, glyph, 1.6), GlyphColor(s));
}

void LampButtonFace(Canvas& c, const Rect& r, State s) {
    PushFace(c, r, s);
    // Socket around the lamps (x 100-116, y 6-16 of the button), 3 pixels of rim.
    const Box well{r.x + 97.0, r.y + 3.0, r.x + 119.0, r.y + 19.0};
    const auto shape = art::RoundedRect(well, 2.5);
    c.Fill(shape, s == State::kDisable ? Rgb(10, 10, 12) : Rgb(5, 5, 7));
    c.InnerGlow(shape, kBlack, 3, 0.6);
    c.Fill(art::InnerBand(shape, c.Whole(1)), s == State::kDown ? Rgb(86, 20, 104) : Rgb(22, 20, 28));
    c.Fill(art::Segment({well.x0 + 3, well.y1 + 0.5}, {well.x1 - 3, well.y1 + 0.5}, 1), kWhite,
           s == State::kDisable ? 0.02 : 0.07);
}

void SwatchFace(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    const auto face = art::RoundedRect(b, 3);
    if (s == State::kDisable) {
        Face(c, face, b, Rgb(34, 31, 42), Rgb(28, 26, 34), kEdgeOff);
        c.Fill(art::Intersect(art::Segment({b.x0 + 4, b.y1 - 4}, {b.x1 - 4, b.y0 + 4}, 1.2), face),
               Rgb(62, 58, 72));
        return;
    }
    // Only the corner pixels survive the program's fill; they round the swatch off.
    const Color rim = s == State::kOver ? kAccentBright : s == State::kDown ? kWhite : kEdge;
    Face(c, face, b, Rgb(70, 64, 86), Rgb(56, 52, 70), rim);
}

namespace {

void Segment(Canvas& c, const Rect& r, State s, art::CornerRadii radii) {
    const Box b = r.ToBox();
    const auto face = art::RoundedRect(b, radii);
    switch (s) {
        case State::kNormal:
            Face(c, face, b, Rgb(36, 32, 46), Rgb(26, 24, 33), kEdge);
            TopHighlight(c, face, b, 5, 0.06);
            break;
        case State::kOver:
            Face(c, face, b, Rgb(46, 40, 60), Rgb(32, 29, 41), Rgb(150, 62, 178));
            c.InnerGlow(art::Offset(face, -1), kAccentBright, 5, 0.18);
            break;
        case State::kDown:
            Face(c, face, b, Rgb(146, 38, 174), Rgb(96, 16, 118), Rgb(176, 80, 204));
            TopHighlight(c, face, b, 5, 0.18);
            break;
        case State::kDisable:
            Face(c, face, b, Rgb(24, 23, 29), Rgb(20, 19, 24), kEdgeOff);
            break;
    }
}

}  // namespace

void SegmentLeft(Canvas& c, const Rect& r, State s) { Segment(c, r, s, art::CornerRadii{5, 0, 0, 5}); }
void SegmentRight(Canvas& c, const Rect& r, State s) { Segment(c, r, s, art::CornerRadii{0, 5, 5, 0}); }
void SegmentTop(Canvas& c, const Rect& r, State s) { Segment(c, r, s, art::CornerRadii{5, 5, 0, 0}); }
void SegmentMiddle(Canvas& c, const Rect& r, State s) { Segment(c, r, s, art::CornerRadii{0, 0, 0, 0}); }
void SegmentBottom(Canvas& c, const Rect& r, State s) { Segment(c, r, s, art::CornerRadii{0, 0, 5, 5}); }

void RadioFace(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    const auto plate = art::RoundedRect(b, 4);
    const art::Point centre{b.x0 + 15, b.Center().y};
    const auto ring = art::Circle(centre, 6.5);
    switch (s) {
        case State::kNormal:
            break;
        case State::kOver:
            c.Fill(plate, kWhite, 0.035);
            c.Fill(art::InnerBand(plate, c.Whole(1)), Rgb(70, 52, 88));
            break;
        case State::kDown:
            c.Fill(plate, art::LinearGradient({b.x0, 0}, {b.x1, 0}, Rgba(128, 21, 153, 0.30), Rgba(128, 21, 153, 0.06)));
            c.Fill(art::InnerBand(plate, c.Whole(1)), Rgb(96, 40, 120));
            break;
        case State::kDisable:
            break;
    }
    c.Fill(art::Translate(art::InnerBand(ring, c.Whole(1)), {0, 1}), kWhite, 0.05);
    c.Fill(ring, Rgb(9, 9, 12));
    c.InnerGlow(ring, kBlack, 3, 0.5);
    const Color rim = s == State::kOver ? Rgb(178, 90, 206) : s == State::kDown ? Rgb(196, 104, 222)
                    : s == State::kDisable ? kEdgeOff : kEdge;
    c.Fill(art::InnerBand(ring, 1.2), rim);
    if (s == State::kDown) {
        const auto dot = art::Circle(centre, 3.2);
        c.Glow(dot, kAccentBright, 6, 0.6);
        c.Fill(dot, art::RadialGradient({centre.x - 1, centre.y - 1}, 4, 4, {{0, Rgb(246, 200, 255)}, {1, Rgb(200, 96, 230)}}));
    }
}

void RecordFace(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    const art::Point centre{b.x0 + 20, b.Center().y};
    if (s == State::kDown) {
        // Down is also the checked look kept for as long as recording lasts: it
        // must not pass for an ordinary pressed button, so it turns red, not accent.
        const auto face = art::RoundedRect(b, 4);
        Face(c, face, b, Rgb(112, 20, 32), Rgb(70, 10, 20), Rgb(236, 72, 84));
        c.InnerGlow(art::Offset(face, -1), Rgb(255, 56, 68), 7, 0.32);
        TopHighlight(c, face, b, 4, 0.10);
        const auto halo = art::InnerBand(art::Circle(centre, 10), 1.6);
        c.Glow(halo, Rgb(255, 40, 52), 5, 0.5);
        c.Fill(halo, Rgb(255, 86, 96));
    } else {
        PushFace(c, r, s);
    }
    const auto socket = art::Circle(centre, 7);
    c.Fill(socket, Rgb(8, 8, 10));
    c.InnerGlow(socket, kBlack, 3, 0.6);
    const auto lamp = art::Circle(centre, 4.6);
    switch (s) {
        case State::kNormal:
            c.Fill(lamp, art::RadialGradient({centre.x - 1.2, centre.y - 1.2}, 5, 5, {{0, Rgb(200, 70, 80)}, {1, Rgb(120, 22, 32)}}));
            break;
        case State::kOver:
            c.Glow(lamp, Rgb(255, 60, 72), 6, 0.45);
            c.Fill(lamp, art::RadialGradient({centre.x - 1.2, centre.y - 1.2}, 5, 5, {{0, Rgb(255, 150, 156)}, {1, Rgb(214, 36, 48)}}));
            break;
        case State::kDown:
            c.Glow(lamp, Rgb(255, 40, 52), 9, 0.8);
            c.Fill(lamp, art::RadialGradient({centre.x - 1.2, centre.y - 1.2}, 5, 5, {{0, Rgb(255, 226, 226)}, {1, Rgb(255, 36, 48)}}));
            break;
        case State::kDisable:
            c.Fill(lamp, Rgb(52, 44, 52));
            break;
    }
}

void SliderTrack(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    const double cy = b.Center().y;
    const Box groove{b.x0 + 2, cy - 3, b.x1 - 2, cy + 3};
    const auto shape = art::RoundedRect(groove, 3);
    c.Fill(art::Translate(art::InnerBand(shape, c.Whole(1)), {0, 1}), kWhite, 0.05);
    c.Fill(shape, s == State::kDisable ? Rgb(14, 13, 17) : Rgb(7, 7, 9));
    c.InnerGlow(shape, kBlack, 3, 0.6);
    if (s != State::kDisable) {
        // A thread of the accent along the bottom of the groove.
        c.Fill(art::Segment({groove.x0 + 4, cy + 1}, {groove.x1 - 4, cy + 1}, 1),
               art::LinearGradient({groove.x0, 0}, {groove.x1, 0},
                                   {{0, art::WithAlpha(kAccent, 0.15f)}, {0.5f, art::WithAlpha(kAccentBright, 0.5f)},
                                    {1, art::WithAlpha(kAccent, 0.15f)}}));
    }
    c.Fill(art::InnerBand(shape, c.Whole(1)), s == State::kDisable ? kEdgeOff : kEdgeSoft);
}

void HeaderTab(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    switch (s) {
        case State::kNormal:
        case State::kDisable:
            break;
        case State::kOver: {
            const auto plate = art::RoundedRect(b, art::CornerRadii{6, 6, 0, 0});
            c.Fill(plate, art::VerticalGradient(b, Rgba(255, 255, 255, 0.0), Rgba(255, 255, 255, 0.045)));
            c.Fill(art::Segment({b.x0 + 14, b.y1 - 1.5}, {b.x1 - 14, b.y1 - 1.5}, 2), kAccent, 0.8);
            break;
        }
        case State::kDown: {
            const auto plate = art::RoundedRect(b, art::CornerRadii{6, 6, 0, 0});
            c.Fill(plate, art::VerticalGradient(b, Rgba(128, 21, 153, 0.0), Rgba(128, 21, 153, 0.34)));
            const auto bar = art::Segment({b.x0 + 6, b.y1 - 2}, {b.x1 - 6, b.y1 - 2}, 3);
            c.Glow(bar, kAccentBright, 8, 0.45);
            c.Fill(bar, art::LinearGradient({b.x0, 0}, {b.x1, 0},
                                            {{0, kAccent}, {0.5f, Rgb(214, 120, 240)}, {1, kAccent}}));
            break;
        }
    }
}

void PanelTab(Canvas& c, const Rect& r, State s) {
    const Box b = r.ToBox();
    const auto tab = art::RoundedRect(b, art::CornerRadii{7, 7, 0, 0});
    const auto topLine = art::Intersect(art::InnerBand(tab, 2), art::RoundedRect({b.x0, b.y0, b.x1, b.y0 + 9}, 0));
    switch (s) {
        case State::kNormal:
            Face(c, tab, b, Rgb(31, 28, 40), Rgb(22, 20, 28), kEdgeSoft);
            TopHighlight(c, tab, b, 7, 0.05);
            break;
        case State::kOver:
            Face(c, tab, b, Rgb(40, 35, 52), Rgb(27, 24, 35), Rgb(70, 52, 88));
            c.Fill(topLine, kAccent, 0.9);
            c.InnerGlow(tab, kAccentBright, 8, 0.12);
            break;
        case State::kDown:
            // Chosen: a lit dark face with a bright accent bar, not an accent
            // fill, so the caption reads in both the chosen and the hover colour.
            Face(c, tab, b, Rgb(62, 44, 80), Rgb(38, 28, 50), Rgb(176, 80, 204));
            c.Fill(topLine, Rgb(222, 150, 242), 0.95);
            c.InnerGlow(tab, kAccentBright, 10, 0.3);
            break;
        case State::kDisable:
            Face(c, tab, b, Rgb(22, 21, 27), Rgb(19, 18, 23), kEdgeOff);
            break;
    }
}

void IconButton(Canvas& c, const Rect& r, State s, Pictogram glyph, IconStyle style) {
    const Box b = r.ToBox();
    const auto plate = art::RoundedRect(b, 4);
    switch (s) {
        case State::kNormal:
            if (style == IconStyle::kPlate) {
                c.Glow(art::Translate(plate, {0, 1}), kBlack, 3, 0.3);
                Face(c, plate, b, Rgb(42, 38, 54), Rgb(29, 27, 37), kEdge);
                TopHighlight(c, plate, b, 4, 0.07);
            }
            break;
        case State::kOver:
            Face(c, plate, b, Rgb(58, 50, 74), Rgb(40, 35, 52), Rgb(156, 70, 184));
            c.InnerGlow(art::Offset(plate, -1), kAccentBright, 5, 0.25);
            TopHighlight(c, plate, b, 4, 0.12);
            break;
        case State::kDown:
            Face(c, plate, b, Rgb(150, 40, 178), Rgb(100, 17, 122), Rgb(196, 104, 222));
            c.InnerGlow(art::Offset(plate, -1), kBlack, 3, 0.25);
            break;
        case State::kDisable:
            if (style == IconStyle::kPlate) Face(c, plate, b, Rgb(27, 25, 32), Rgb(24, 23, 29), kEdgeOff);
            break;
    }
    const double stroke = std::min(b.Width(), b.Height()) >= 28 ? 1.8 : 1.6;
    const Box inner{b.x0 + 4, b.y0 + 4, b.x1 - 4, b.y1 - 4};
    const auto symbol = PictogramShape(glyph, inner, stroke);
    if (s == State::kNormal || s == State::kOver) c.Glow(art::Translate(symbol, {0, 1}), kBlack, 2, 0.4);
    c.Fill(symbol, GlyphColor(s));
}

void FieldButton(Canvas& c, const Rect& r, State s, Pictogram trailing) {
    const Box b = r.ToBox();
    const auto field = art::RoundedRect(b, 4);
    const Box zone{b.x1 - b.Height(), b.y0, b.x1, b.y1};
    // The inside stays exactly the edit boxes' colour: the rename box opens on it.
    c.Fill(field, s == State::kDisable ? Rgb(23, 21, 29) : kField);
    c.InnerGlow(field, kBlack, 3, s == State::kDisable ? 0.1 : 0.22);
    Color edge = kEdge;
    switch (s) {
        case State::kNormal: break;
        case State::kOver:
            edge = Rgb(150, 62, 178);
            c.InnerGlow(art::Offset(field, -1), kAccentBright, 4, 0.14);
            break;
        case State::kDown: {
            edge = Rgb(190, 96, 218);
            const auto cap = art::Intersect(field, art::RoundedRect(zone, 0));
            c.Fill(cap, art::VerticalGradient(zone, Rgb(150, 40, 178), Rgb(100, 17, 122)));
            break;
        }
        case State::kDisable: edge = kEdgeOff; break;
    }
    c.Fill(art::InnerBand(field, c.Whole(1)), edge);
    if (s != State::kDown)
        c.Fill(art::Segment({zone.x0 + 0.5, b.y0 + 6}, {zone.x0 + 0.5, b.y1 - 6}, 1), kWhite,
               s == State::kDisable ? 0.02 : 0.07);
    Pictogram glyph = trailing;
    if (trailing == Pictogram::kChevronDown && s == State::kDown) glyph = Pictogram::kChevronUp;
    c.Fill(PictogramShape(glyph, Box{zone.x0 + 3, zone.y0 + 3, zone.x1 - 3, zone.y1 - 3}, 1.6), GlyphColor(s));
}

void FieldFrame(Canvas& c, const Rect& r, Color fill) {
    const Box inner = c.OnPixels(r.ToBox());
    const auto frame = art::RoundedRect(inner.Inflated(c.Whole(2)), 4);
    c.Fill(art::Translate(art::InnerBand(frame, c.Whole(1)), {0, 1}), kWhite, 0.05);
    c.Fill(frame, kEdge);
    c.Fill(art::RoundedRect(inner.Inflated(c.Whole(1)), 3), Rgb(8, 8, 10));
    c.Fill(art::RoundedRect(inner, 0), fill);
}

void ListArea(Canvas& c, const Rect& r, Color fill) {
    const Box list = c.OnPixels(r.ToBox());
    const auto frame = art::RoundedRect(list.Inflated(c.Whole(3)), 5);
    c.Glow(art::Translate(frame, {0, 1}), kBlack, 4, 0.3);
    c.Fill(frame, kEdge);
    c.Fill(art::RoundedRect(list.Inflated(c.Whole(2)), 4), Rgb(8, 8, 10));
    c.Fill(art::RoundedRect(list, 0), fill);
    c.InnerGlow(art::RoundedRect(list, 0), kBlack, 4, 0.25);
}

void SwatchWell(Canvas& c, const Rect& r) {
    const auto well = art::RoundedRect(c.OnPixels(r.ToBox()).Inflated(c.Whole(3)), 5);
    c.Fill(art::Translate(art::InnerBand(well, c.Whole(1)), {0, 1}), kWhite, 0.05);
    c.Fill(well, Rgb(8, 8, 10));
    c.InnerGlow(well, kBlack, 3, 0.5);
    c.Fill(art::InnerBand(well, c.Whole(1)), kEdgeSoft);
}

void RecessedPanel(Canvas& c, const Box& layoutBox, art::CornerRadii radii) {
    const Box box = c.OnPixels(layoutBox);
    const auto panel = art::RoundedRect(box, radii);
    // Etched edge: a faint light line under the panel's lower rim.
    c.Fill(art::Translate(art::InnerBand(panel, c.Whole(1)), {0, 1}), kWhite, 0.05);
    c.Fill(panel, art::VerticalGradient(box, kPanelTop, kPanelBottom));
    // A faint dot grid gives the large dark surface a machined texture, and a low
    // purple light rises from its lower edge.
    for (double y = box.y0 + 8; y < box.y1 - 6; y += 8)
        for (double x = box.x0 + 8; x < box.x1 - 6; x += 8)
            c.Fill(art::RoundedRect(Box{x, y, x + 1, y + 1}, 0), kWhite, 0.045);
    c.Fill(panel, art::RadialGradient({box.Center().x, box.y1}, box.Width() * 0.6, box.Height() * 0.7,
                                      {{0, Rgba(128, 21, 153, 0.10)}, {1, Rgba(128, 21, 153, 0)}}));
    c.InnerGlow(panel, kBlack, 10, 0.45);
    c.Fill(art::InnerBand(panel, c.Whole(1)), kEdgeSoft);
}

void Card(Canvas& c, const Box& layoutBox, double radius) {
    const Box box = c.OnPixels(layoutBox);
    const auto card = art::RoundedRect(box, radius);
    c.Glow(art::Translate(card, {0, 2}), kBlack, 8, 0.35);
    c.Fill(card, art::VerticalGradient(box, Rgb(33, 30, 43), Rgb(24, 22, 31)));
    c.Fill(art::InnerBand(card, c.Whole(1)), Rgb(52, 47, 64));
    TopHighlight(c, card, box, radius, 0.06);
}

void HeadedPanel(Canvas& c, const Box& layoutBox, double header) {
    const Box box = c.OnPixels(layoutBox);
    const double radius = 7;
    const auto panel = art::RoundedRect(box, radius);
    c.Glow(art::Translate(panel, {0, 2}), kBlack, 8, 0.35);
    c.Fill(panel, art::VerticalGradient(box, Rgb(29, 26, 38), Rgb(21, 19, 27)));
    const Box head{box.x0, box.y0, box.x1, box.y0 + header};
    c.Fill(art::Intersect(panel, art::RoundedRect(head, 0)), art::VerticalGradient(head, Rgb(38, 34, 50), Rgb(30, 27, 40)));
    c.Fill(art::Segment({box.x0 + 1, head.y1 - 0.5}, {box.x1 - 1, head.y1 - 0.5}, 1), kBlack, 0.5);
    c.Fill(art::Segment({box.x0 + 1, head.y1 + 0.5}, {box.x1 - 1, head.y1 + 0.5}, 1), kWhite, 0.04);
    AccentRule(c, box.x0 + 1, box.x0 + (box.x1 - box.x0) * 0.6, head.y1 - 0.5, 0.35);
    const Box tick{box.x0 + 7, head.y0 + header * 0.28, box.x0 + 9.5, head.y1 - header * 0.28};
    const auto notch = art::RoundedRect(tick, 1.25);
    c.Glow(notch, kAccent, 5, 0.35);
    c.Fill(notch, art::VerticalGradient(tick, kAccentBright, kAccent));
    c.Fill(art::InnerBand(panel, c.Whole(1)), Rgb(50, 45, 62));
    TopHighlight(c, panel, box, radius, 0.06);
}

void Well(Canvas& c, const Box& layoutBox) {
    const Box box = c.OnPixels(layoutBox);
    const auto well = art::RoundedRect(box, 5);
    c.Fill(art::Translate(art::InnerBand(well, c.Whole(1)), {0, 1}), kWhite, 0.045);
    c.Fill(well, art::VerticalGradient(box, Rgb(14, 13, 18), Rgb(18, 17, 23)));
    c.InnerGlow(well, kBlack, 6, 0.4);
    c.Fill(art::InnerBand(well, c.Whole(1)), kEdgeSoft);
}

void AccentRule(Canvas& c, double x0, double x1, double y, double opacity) {
    const auto line = art::Segment({x0, y}, {x1, y}, 1);
    c.Fill(line,
           art::LinearGradient({x0, y}, {x1, y},
                               {{0, art::WithAlpha(kAccent, 0)}, {0.5f, kAccentBright}, {1, art::WithAlpha(kAccent, 0)}}),
           opacity);
}

skin::Painter Push(double radius) {
    return [radius](Canvas& c, const Rect& r, State s) { PushFace(c, r, s, radius); };
}

skin::Painter Icon(Pictogram glyph, IconStyle style) {
    return [glyph, style](Canvas& c, const Rect& r, State s) { IconButton(c, r, s, glyph, style); };
}

skin::Painter PushWithGlyph(Pictogram glyph) {
    return [glyph](Canvas& c, const Rect& r, State s) {
        PushFace(c, r, s);
        const Box b = r.ToBox();
        const double side = b.Height() - 8;
        const auto symbol = PictogramShape(glyph, Box{b.x0 + 8, b.y0 + 4, b.x0 + 8 + side, b.y1 - 4}, 1.7);
        if (s == State::kNormal || s == State::kOver) c.Glow(art::Translate(symbol, {0, 1}), kBlack, 2, 0.4);
        c.Fill(symbol, GlyphColor(s));
    };
}

skin::Painter Field(Pictogram trailing) {
    return [trailing](Canvas& c, const Rect& r, State s) { FieldButton(c, r, s, trailing); };
}

skin::Painter Painted(void (*paint)(Canvas&, const Rect&, State)) { return paint; }

}  // namespace ui
