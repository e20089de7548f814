#pragma once
// The suite's colours. The accent and the field colours are the ones the
// programs use for their own texts, frames and edit boxes, so the artwork and
// the run-time drawing agree.
#include "art/color.h"

namespace ui::theme {

using art::Color;
using art::Rgb;

constexpr Color kAccent = Rgb(128, 21, 153);
constexpr Color kAccentBright = Rgb(178, 70, 210);
constexpr Color kAccentDeep = Rgb(74, 10, 92);

// Window body, top to bottom; panels are a shade darker.
constexpr Color kBodyTop = Rgb(31, 27, 41);
constexpr Color kBodyBottom = Rgb(16, 15, 20);
constexpr Color kHeaderTop = Rgb(36, 31, 48);
constexpr Color kPanelTop = Rgb(17, 16, 22);
constexpr Color kPanelBottom = Rgb(12, 11, 15);

constexpr Color kField = Rgb(31, 27, 41);      // edit boxes and lists fill with it
constexpr Color kLabelFill = Rgb(2, 2, 2);     // text labels fill with it
constexpr Color kEdge = Rgb(62, 56, 78);       // resting border of a control
constexpr Color kEdgeSoft = Rgb(44, 40, 54);   // panel borders
constexpr Color kEdgeOff = Rgb(40, 38, 47);    // border of a disabled control

constexpr Color kGlyph = Rgb(150, 146, 162);     // pictograms at rest
constexpr Color kGlyphHot = Rgb(240, 236, 246);  // under the pointer
constexpr Color kGlyphOff = Rgb(66, 63, 74);     // disabled
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kBlack = Rgb(0, 0, 0);

}  // namespace ui::theme
