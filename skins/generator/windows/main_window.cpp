// The main window: header with the brand mark, the two page tabs and the window
// buttons; below it the page area that the configuration and macro pages cover.
#include "ui/widgets.h"
#include "ui/window_frame.h"
#include "windows/windows.h"

namespace windows {

using art::Rect;
using ui::IconStyle;
using ui::Pictogram;

void DescribeMainWindow(skin::SkinBuilder& b) {
    ui::FrameStyle frame;
    const auto outline = ui::WindowOutline(b.Width(), b.Height(), frame);
    b.SetOutline(outline);
    art::Canvas& bg = b.Background();
    ui::PaintWindowFrame(bg, outline, frame);
    ui::PaintLogo(bg, {28, 15}, 22);
    ui::PaintCaption(bg, "GAMING MOUSE", {29, 45}, 7, art::Rgb(112, 104, 128));

    b.AddControl(2, "Minimize", Rect{602, 14, 30, 26}, "Minimize", ui::Icon(Pictogram::kMinimize, IconStyle::kBare));
    b.AddControl(3, "Close", Rect{636, 14, 30, 26}, "Close", ui::Icon(Pictogram::kClose, IconStyle::kBare));
    // Captions (24-pixel Arial) are drawn by the program over these faces.
    b.AddControl(4, "ConfigTab", Rect{150, 18, 184, 42}, "Profiles and settings", ui::Painted(ui::HeaderTab));
    b.AddControl(5, "MacroTab", Rect{338, 18, 150, 42}, "Macro library", ui::Painted(ui::HeaderTab));
    b.AddArea(7, "PageArea", Rect{16, 64, 648, 492}, "Page area");
    // Between the tabs and the window buttons: the badge that shows while the mouse is not connected.
    b.AddArea(8, "MouseStatus", Rect{492, 25, 106, 26}, "Mouse status");
}

}  // namespace windows
