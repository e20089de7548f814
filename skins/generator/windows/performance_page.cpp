// The performance sub-page: a DPI panel across the top (level box, DPI slider
// with its value, the levels button in the header), and below it the pointer
// speed and polling rate panels side by side. Headings and captions are painted
// by the page into the text places, Arial 15, word-wrapped.
#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;

namespace {

constexpr double kHeader = 34;

}  // namespace

void DescribePerformancePage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double right = b.Width() - 12;
    const double bottom = b.Height() - 12;

    // DPI of the active level.
    ui::HeadedPanel(bg, {12, 12, right, 170}, kHeader);
    b.AddArea(1, "DpiHeading", Rect{24, 17, 280, 24}, "DPI heading");
    b.AddControl(7, "DpiLevels", Rect{480, 16, 124, 26}, "Set the DPI levels", ui::Push());
    b.AddArea(2, "LevelCaption", Rect{24, 54, 84, 22}, "Level caption");
    // The page frames the level box in the accent and centres the number in it.
    ui::Well(bg, Box{24, 80, 108, 158});
    b.AddArea(5, "ActiveLevel", Rect{24, 80, 84, 78}, "Active DPI level");
    b.AddArea(4, "DpiCaption", Rect{128, 54, 300, 22}, "DPI caption");
    ui::Well(bg, Box{120, 84, right - 8, 154});
    b.AddControl(6, "DpiSlider", Rect{132, 107, 332, 24}, "DPI of the active level", ui::Painted(ui::SliderTrack));
    ui::FieldFrame(bg, Rect{480, 105, 116, 28}, ui::theme::kLabelFill);
    b.AddArea(14, "DpiValue", Rect{480, 105, 116, 28}, "DPI value");

    // Windows pointer speed.
    const double split = 416;
    ui::HeadedPanel(bg, {12, 178, split, bottom}, kHeader);
    b.AddArea(9, "SpeedHeading", Rect{24, 183, 280, 24}, "Pointer speed heading");
    ui::Well(bg, Box{20, 232, split - 8, bottom - 10});
    b.AddArea(11, "SlowCaption", Rect{30, 261, 54, 30}, "Slow caption");
    b.AddControl(10, "SpeedSlider", Rect{88, 264, 260, 24}, "Pointer speed", ui::Painted(ui::SliderTrack));
    b.AddArea(12, "FastCaption", Rect{354, 261, 50, 30}, "Fast caption");

    // Polling rate.
    ui::HeadedPanel(bg, {split + 8, 178, right, bottom}, kHeader);
    b.AddArea(8, "RateHeading", Rect{int(split) + 20, 183, 170, 24}, "Polling rate heading");
    ui::Well(bg, Box{split + 16, 232, right - 8, bottom - 10});
    b.AddControl(13, "PollingRate", Rect{int(split) + 26, 261, 160, 30}, "Choose the polling rate",
                 ui::Painted(ui::MenuButtonFace));
}

}  // namespace windows
