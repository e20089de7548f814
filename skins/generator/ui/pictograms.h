#pragma once
// The small symbols of icon buttons, as stroked shapes centred in a box.
#include "art/shape.h"

namespace ui {

enum class Pictogram { kNone, kMinimize, kClose, kPlus, kTrash, kMore, kChevronDown, kChevronUp, kPencil };

// `stroke` is the line width in pixels; the symbol is sized to the smaller side of `box`.
art::ShapePtr PictogramShape(Pictogram pictogram, const art::Box& box, double stroke);

}  // namespace ui
