#pragma once
// A small stroked display face (capitals, digits and a few signs) for the
// decorative texts baked into the artwork: the logo and the headings of the
// developer gallery. Glyphs are polylines on a 10-unit cap height with cut
// corners, drawn as round-capped strokes, so they stay crisp at any size.
#include <string_view>

#include "art/shape.h"

namespace art {

struct TextStyle {
    double capHeight = 10;   // pixels
    double stroke = 1.5;     // pixels
    double tracking = 3.0;   // gap between glyphs, in glyph units (cap height = 10 units)
    double slant = 0.0;      // horizontal shift per pixel of height (0.2 leans right)
};

// The outline of a text whose top-left corner of the cap height is `origin`.
// Characters the face does not have are drawn as blanks.
ShapePtr TextShape(std::string_view text, Point origin, const TextStyle& style);

// True when the face has a glyph for every character of the text.
bool HasGlyphs(std::string_view text);

// Advance width of the text in pixels (without the slant's overhang).
double TextWidth(std::string_view text, const TextStyle& style);

}  // namespace art
