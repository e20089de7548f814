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

// At p % (art::UiScale) the sheet keeps its columns and rows with cells of
// S(13) x S(16) pixels: each part is drawn into the S(13) square at the top of
// its cell, the lines under it repeat the square's last line. See skins/README.md.
art::Image8 RenderScrollBarParts(int percent = 100);
// The side of a part's square and the height of a cell at `percent`.
int ScrollPartSide(int percent);
int ScrollCellHeight(int percent);
// The length of each end of a thumb: (side - 1) / 2, so that one or two lines
// between the ends are alike and tile.
int ScrollThumbEnd(int percent);

// Bitmaps 2-5, one per row kind of the event list, drawn with pure red as the
// transparent colour.
constexpr int kRowIconSize = 16;
constexpr art::Pixel8 kTransparentRed{255, 0, 0, 255};
enum class RowIcon { kDelay = 2, kKeyPress = 3, kKeyRelease = 4, kMouseButton = 5 };
constexpr RowIcon kRowIcons[] = {RowIcon::kDelay, RowIcon::kKeyPress, RowIcon::kKeyRelease, RowIcon::kMouseButton};

// S(16) pixels square at `percent`.
art::Image8 RenderRowIcon(RowIcon icon, int percent = 100);

// Icon 145, 16 x 16 with alpha: it is drawn on the menu's dark items and on the
// accent of the selected one alike.
art::Image8 RenderSubmenuArrow(int percent = 100);

// "scrollbar_368.bmp", "row_icon_2.bmp" to "row_icon_5.bmp" and "submenu_145.ico",
// drawn at `percent`.
std::vector<skin::GeneratedFile> BuildOptionResources(int percent = 100);

}  // namespace resources
