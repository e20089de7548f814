// The developer gallery: every kind of skinned control in four columns (push
// buttons, check buttons, lamp buttons, other controls and a slider) under
// baked headings.
#include <string>

#include "ui/theme.h"
#include "ui/widgets.h"
#include "ui/window_frame.h"
#include "windows/windows.h"

namespace windows {

using art::Rect;
using ui::IconStyle;
using ui::Pictogram;

namespace {

constexpr int kTop = 92;     // first row of controls
constexpr int kPitch = 38;   // row spacing
constexpr int kHeadingY = 68;

void Heading(art::Canvas& bg, const char* text, int x, int width) {
    ui::PaintCaption(bg, text, {double(x), double(kHeadingY)}, 8, art::Rgb(138, 128, 156));
    bg.Fill(art::Segment({double(x), kHeadingY + 15.5}, {double(x + width), kHeadingY + 15.5}, 1),
            art::LinearGradient({double(x), 0}, {double(x + width), 0}, ui::theme::kAccent,
                                art::WithAlpha(ui::theme::kAccent, 0)));
}

const char* kAlignNames[8] = {"centred", "left", "right", "left", "fixed", "fixed", "indented", "inset"};

}  // namespace

void DescribeGallery(skin::SkinBuilder& b) {
    ui::FrameStyle frame;
    frame.headerHeight = 52;
    frame.notchWidth = 160;
    const auto outline = ui::WindowOutline(b.Width(), b.Height(), frame);
    b.SetOutline(outline);
    art::Canvas& bg = b.Background();
    ui::PaintWindowFrame(bg, outline, frame);
    const double logoEnd = ui::PaintLogo(bg, {28, 17}, 17);
    ui::PaintCaption(bg, "SKIN GALLERY", {logoEnd + 14, 22}, 9, art::Rgb(150, 140, 170));

    b.AddControl(34, "Close", Rect{b.Width() - 46, 13, 30, 26}, "Close the gallery",
                 ui::Icon(Pictogram::kClose, IconStyle::kBare));

    Heading(bg, "PUSH", 24, 164);
    Heading(bg, "CHECK", 204, 164);
    Heading(bg, "INDICATORS", 384, 140);
    Heading(bg, "CONTROLS", 544, 180);
    for (int i = 0; i < 8; ++i) {
        const int y = kTop + i * kPitch;
        const std::string mode = std::to_string(i);
        b.AddControl(1 + i, "Push" + mode, Rect{24, y, 164, 30}, std::string("Push button - ") + kAlignNames[i] +
                     " caption (mode " + mode + ")", ui::Push());
        b.AddControl(11 + i, "Check" + mode, Rect{204, y, 164, 30}, std::string("Check button - ") + kAlignNames[i] +
                     " caption (mode " + mode + ")", ui::Push());
        b.AddControl(21 + i, "Lamps" + std::to_string(i + 1), Rect{384, y + 4, 140, 22},
                     "Indicator mode " + std::to_string(i + 1), ui::Painted(ui::LampButtonFace));
    }

    const int x = 544;
    ui::SwatchWell(bg, Rect{x, kTop + 3, 40, 24});
    b.AddControl(30, "Swatch", Rect{x, kTop + 3, 40, 24}, "Colour swatch", ui::Painted(ui::SwatchFace));
    ui::FieldFrame(bg, Rect{x, kTop + 41, 180, 24}, ui::theme::kField);
    b.AddArea(31, "Edit", Rect{x, kTop + 41, 180, 24}, "Edit box");
    ui::FieldFrame(bg, Rect{x, kTop + 79, 180, 24}, ui::theme::kLabelFill);
    b.AddArea(32, "Label", Rect{x, kTop + 79, 180, 24}, "Text label");
    b.AddControl(33, "MenuButton", Rect{x, kTop + 114, 180, 30}, "Opens a menu", ui::Painted(ui::MenuButtonFace));
    b.AddControl(35, "Disabled", Rect{x, kTop + 152, 180, 30}, "Disabled button", ui::Push());
    // A slider track in a well, as the performance page shows them; the thumb is
    // the skins folder's own picture.
    ui::Well(bg, art::Box{double(x - 6), kTop + 190.0, double(x + 186), kTop + 228.0});
    b.AddControl(36, "Slider", Rect{x, kTop + 197, 180, 24}, "Slider track", ui::Painted(ui::SliderTrack));
}

}  // namespace windows
