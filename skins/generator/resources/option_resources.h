#pragma once
// Pictures that Option carries as resources rather than in its skins folder:
// the parts of the skinned scroll bar (bitmap 368), the row icons of the
// owner-drawn lists (bitmaps 2-5) and the arrow of menu items that open a
// submenu (icon 145).
#include <vector>

#include "art/image.h"
#include "skin/skin_builder.h"

namespace resources {

// Bitmap 368: 9 columns by 3 rows of 13 x 16 cells. The cell width is the bars'
// thickness. Rows are the states: normal, hot (under the pointer), pressed.
constexpr int kScrollCellWidth = 13;
constexpr int kScrollCellHeight = 16;
constexpr int kScrollColumns = 9;
constexpr int kScrollRows = 3;
enum ScrollColumn {
    kUpArrow, kDownArrow, kVerticalThumb, kVerticalTrack,
    kLeftArrow, kRightArrow, kHorizontalThumb, kHorizontalTrack,
    kCorner,
};
enum ScrollRow { kNormalRow, kHotRow, kPressedRow };

art::Image8 RenderScrollBarParts();

// Bitmaps 2-5, one per row kind of the event list, drawn with pure red as the
// transparent colour.
constexpr int kRowIconSize = 16;
constexpr art::Pixel8 kTransparentRed{255, 0, 0, 255};
enum class RowIcon { kDelay = 2, kKeyPress = 3, kKeyRelease = 4, kMouseButton = 5 };
constexpr RowIcon kRowIcons[] = {RowIcon::kDelay, RowIcon::kKeyPress, RowIcon::kKeyRelease, RowIcon::kMouseButton};

art::Image8 RenderRowIcon(RowIcon icon);

// Icon 145, 16 x 16 with alpha: it is drawn on the menu's dark items and on the
// accent of the selected one alike.
art::Image8 RenderSubmenuArrow();

// "scrollbar_368.bmp", "row_icon_2.bmp" to "row_icon_5.bmp" and "submenu_145.ico".
std::vector<skin::GeneratedFile> BuildOptionResources();

}  // namespace resources
