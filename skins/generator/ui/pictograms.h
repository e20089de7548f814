#pragma once
// The small symbols of icon buttons, as stroked shapes centred in a box.
#include "art/shape.h"

namespace ui {

// kInsert: an arrow pointing in between two rows; kFolder: a file folder (a
// path to browse for); kBlocked: a ring with a slash (nothing happens).
enum class Pictogram {
    kNone, kMinimize, kClose, kPlus, kTrash, kMore, kChevronDown, kChevronUp, kPencil, kInsert, kFolder, kBlocked
};

// `stroke` is the line width in pixels; the symbol is sized to the smaller side of `box`.
art::ShapePtr PictogramShape(Pictogram pictogram, const art::Box& box, double stroke);

}  // namespace ui
