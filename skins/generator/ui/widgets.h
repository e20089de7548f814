#pragma once
// Painters of the suite's widgets. Each draws one control in one state at a
// rectangle; skins combine them into their state images. Faces that get a
// caption at run time stay plain; icon buttons carry their symbol in every state.
#include "art/canvas.h"
#include "skin/skin_builder.h"
#include "ui/pictograms.h"

namespace ui {

using skin::State;

// A raised button face (push and check buttons with run-time captions).
void PushFace(art::Canvas& c, const art::Rect& r, State s, double radius = 4);
// A push face with a chevron at its right end, for buttons that open a menu.
void MenuButtonFace(art::Canvas& c, const art::Rect& r, State s);
// A push face with a recessed socket for the three indicator lamps that the
// program paints at x 100, 106 and 112, y 6, 4 x 10 pixels (button coordinates).
void LampButtonFace(art::Canvas& c, const art::Rect& r, State s);
// A colour swatch: the program fills all but the corner pixels while enabled.
void SwatchFace(art::Canvas& c, const art::Rect& r, State s);

// Tab of the window header: flat at rest, underlined in the accent when chosen.
void HeaderTab(art::Canvas& c, const art::Rect& r, State s);
// Tab sitting on a panel, lit with a bright accent bar when chosen.
void PanelTab(art::Canvas& c, const art::Rect& r, State s);

// Halves of a two-way switch: the left half is rounded on the left, the right
// half on the right; the chosen half fills with the accent.
void SegmentLeft(art::Canvas& c, const art::Rect& r, State s);
void SegmentRight(art::Canvas& c, const art::Rect& r, State s);
// Pieces of a choice stacked in a column: rounded at the top, square, rounded
// at the bottom. Stacked, they leave the whole width to the captions.
void SegmentTop(art::Canvas& c, const art::Rect& r, State s);
void SegmentMiddle(art::Canvas& c, const art::Rect& r, State s);
void SegmentBottom(art::Canvas& c, const art::Rect& r, State s);
// One choice of a group: a ring at the left end that shows a lit dot when the
// choice is made; the rest stays free for the program's caption.
void RadioFace(art::Canvas& c, const art::Rect& r, State s);
// A push face with a record lamp at its left end, lit while recording (Down).
void RecordFace(art::Canvas& c, const art::Rect& r, State s);
// The strip of a slider's track: a groove across the rectangle, centred on its
// height, along which the thumb runs.
void SliderTrack(art::Canvas& c, const art::Rect& r, State s);

enum class IconStyle {
    kBare,   // only the symbol at rest (window buttons)
    kPlate,  // a small raised plate at rest (tool buttons)
};
void IconButton(art::Canvas& c, const art::Rect& r, State s, Pictogram glyph, IconStyle style);

// A recessed text field with a symbol at its right end: the profile drop-down
// (chevron, turned up while open) and the name button (pencil).
void FieldButton(art::Canvas& c, const art::Rect& r, State s, Pictogram trailing);

// Background pieces (not controls).
// A recessed frame around a control that paints its own box in `fill` (edit
// boxes, labels): the frame lies just outside `r`, the inside matches `fill`.
void FieldFrame(art::Canvas& c, const art::Rect& r, art::Color fill);
// The place of a list box that draws its own rows in `fill`: a sunken frame
// outside `r` and, under the list's border, the row colour.
void ListArea(art::Canvas& c, const art::Rect& r, art::Color fill);
// A dark well around a colour swatch, just outside its rectangle.
void SwatchWell(art::Canvas& c, const art::Rect& r);
// A sunken panel for a page area.
void RecessedPanel(art::Canvas& c, const art::Box& box, art::CornerRadii radii);
// A raised card grouping controls.
void Card(art::Canvas& c, const art::Box& box, double radius);
// A card with a header band `header` pixels high, marked by an accent tick at its
// left end; the program paints the panel's heading into the band.
void HeadedPanel(art::Canvas& c, const art::Box& box, double header);
// A shallow sunken well inside a panel, where a group of controls sits.
void Well(art::Canvas& c, const art::Box& box);
// A hairline in the accent that fades out at both ends.
void AccentRule(art::Canvas& c, double x0, double x1, double y, double opacity);

// Shorthands that bind a painter for SkinBuilder::AddControl.
skin::Painter Push(double radius = 4);
skin::Painter Icon(Pictogram glyph, IconStyle style);
// A push face with a symbol at its left end and room for a caption after it.
skin::Painter PushWithGlyph(Pictogram glyph);
skin::Painter Field(Pictogram trailing);
skin::Painter Painted(void (*paint)(art::Canvas&, const art::Rect&, State));

}  // namespace ui
