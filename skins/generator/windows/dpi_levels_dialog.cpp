// The DPI levels dialog: a small framed window with the level count on top,
// the five level rows side by side (the dialog frames the shown ones and
// writes their captions and values), the slider for the active level, and
// accept and cancel at the bottom.
#include <string>

#include "ui/theme.h"
#include "ui/widgets.h"
#include "ui/window_frame.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;
using ui::IconStyle;
using ui::Pictogram;

namespace {

// The dialog repaints the rows as one block between these corners.
constexpr int kRowsLeft = 20;
constexpr int kRowsTop = 140;
constexpr int kRowsRight = 411;
constexpr int kRowsBottom = 216;
constexpr int kRowWidth = 74;
constexpr int kRowPitch = 79;

}  // namespace

void DescribeDpiLevelsDialog(skin::SkinBuilder& b) {
    PaintDialogFrame(b, 110);
    art::Canvas& bg = b.Background();
    ui::PaintLogo(bg, {22, 13}, 16);
    b.AddControl(22, "Close", Rect{b.Width() - 46, 9, 30, 26}, "Close", ui::Icon(Pictogram::kClose, IconStyle::kBare));

    // Texts 42 and 43 are painted by the dialog into "1" and "2".
    b.AddArea(1, "CountCaption", Rect{20, 60, 200, 24}, "Levels in use");
    b.AddControl(3, "Count", Rect{230, 57, 64, 30}, "How many levels the DPI button cycles through",
                 ui::Painted(ui::MenuButtonFace));
    ui::AccentRule(bg, 20, kRowsRight, 100.5, 0.4);
    b.AddArea(2, "LevelsCaption", Rect{20, 110, 300, 24}, "DPI of each level");

    ui::RecessedPanel(bg, Box{kRowsLeft - 6.0, kRowsTop - 6.0, kRowsRight + 6.0, kRowsBottom + 6.0},
                      art::CornerRadii{6, 6, 6, 6});
    for (int i = 0; i < 5; ++i) {
        const int x = kRowsLeft + i * kRowPitch;
        const int entry = 4 + 3 * i;
        const std::string n = std::to_string(i + 1);
        ui::Well(bg, Box{double(x + 2), double(kRowsTop + 2), double(x + kRowWidth - 2), double(kRowsBottom - 2)});
        b.AddArea(entry, "Level" + n, Rect{x, kRowsTop, kRowWidth, kRowsBottom - kRowsTop}, "Level " + n);
        b.AddArea(entry + 1, "LevelCaption" + n, Rect{x + 4, kRowsTop + 8, kRowWidth - 8, 22}, "Level caption");
        b.AddArea(entry + 2, "LevelValue" + n, Rect{x + 4, kRowsTop + 38, kRowWidth - 8, 28}, "Level DPI");
    }

    ui::Well(bg, Box{14, 226, double(kRowsRight + 6), 262});
    b.AddControl(19, "LevelSlider", Rect{kRowsLeft, 232, kRowsRight - kRowsLeft, 24}, "DPI of the chosen level",
                 ui::Painted(ui::SliderTrack));

    b.AddControl(20, "Accept", Rect{b.Width() - 256, b.Height() - 50, 110, 30}, "Keep these levels", ui::Push());
    b.AddControl(21, "Cancel", Rect{b.Width() - 136, b.Height() - 50, 110, 30}, "Discard the changes", ui::Push());
}

}  // namespace windows
