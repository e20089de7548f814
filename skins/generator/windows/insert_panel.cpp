// The insert panel and its two sub-panels. The panel opens over the macro
// page's recorder panel and repeats its frame, so the page seems to turn its
// recorder into the insert tool rather than open a window over it: the heading
// band, the choice of what to insert, the place where the chosen sub-panel
// shows, and apply and cancel at the foot. The sub-panels continue the panel's
// picture under that place; the recording one repeats the page's recorder
// controls at the same sizes and entry numbers.
#include <cmath>

#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;

namespace {

// Place of the sub-panels on the insert panel: the full width the sub-panels
// are made for, between the choice button and the apply row.
constexpr int kSubPanelX = 4;
constexpr int kSubPanelY = 84;
constexpr int kSubPanelW = 298;
constexpr int kFootH = 52;  // apply and cancel with their margins

}  // namespace

void DescribeInsertPanel(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double w = b.Width(), h = b.Height();
    // The page's recorder panel lies exactly here: paint it afresh to wipe its
    // controls, but keep the page's own rounded corners, which a second coat
    // would darken where they blend into the page.
    const art::Canvas under = bg;
    ui::HeadedPanel(bg, Box{0, 0, w, h}, 36);
    // Pasted in pixels of the set: the corners are as large as they are drawn.
    const int corner = int(std::ceil(10 * b.Scale().Factor()));
    for (int x : {0, bg.Width() - corner})
        for (int y : {0, bg.Height() - corner}) bg.Paste(under.Crop(x, y, corner, corner), x, y);
    // The program writes the panel's heading into the band.
    b.AddArea(1, "Heading", Rect{14, 6, b.Width() - 28, 24}, "Insert panel heading");
    b.AddControl(2, "Choice", Rect{12, 44, b.Width() - 24, 32}, "What to insert and where",
                 ui::Painted(ui::MenuButtonFace));
    const int subH = b.Height() - kFootH - 4 - kSubPanelY;
    b.AddArea(3, "SubPanel", Rect{kSubPanelX, kSubPanelY, kSubPanelW, subH}, "Settings of the choice");
    ui::AccentRule(bg, 24, w - 24, h - kFootH + 0.5, 0.45);
    const int buttonW = (b.Width() - 24 - 10) / 2;
    const int buttonY = b.Height() - kFootH + 10;
    b.AddControl(4, "Apply", Rect{12, buttonY, buttonW, 32}, "Insert the delay or keep the recorded steps", ui::Push());
    b.AddControl(5, "Cancel", Rect{b.Width() - 12 - buttonW, buttonY, buttonW, 32},
                 "Undo what was inserted and close", ui::Push());
}

void DescribeInsertDelayPanel(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double right = b.Width() - 8.0;
    // As tall as the recording sub-panel's controls, so that changing the
    // choice swaps the contents, not the shape of the panel.
    ui::Well(bg, Box{8, 4, right, 198});
    // A caption (text 40) over the box, the unit (text 41) after it.
    b.AddArea(1, "DelayLabel", Rect{20, 16, b.Width() - 40, 22}, "Delay label");
    const Rect box{22, 50, 90, 26};
    ui::FieldFrame(bg, box, ui::theme::kField);
    b.AddArea(2, "Delay", box, "Delay in milliseconds");
    b.AddArea(3, "UnitLabel", Rect{box.x + box.w + 12, 52, b.Width() - 20 - (box.x + box.w + 12), 22}, "Unit label");

    // Under them, what the insertion does: a lit delay step between two steps.
    const double y = 148, chipH = 18;
    ui::AccentRule(bg, 30, right - 22, y + 0.5, 0.3);
    const double chipW = 56, gap = (right - 8 - 22 - 3 * chipW) / 4;
    for (int i = 0; i < 3; ++i) {
        const double x0 = 22 + gap + i * (chipW + gap);
        const Box chip{x0, y - chipH / 2, x0 + chipW, y + chipH / 2};
        const auto shape = art::RoundedRect(chip, 4);
        if (i == 1) {
            // Lit but hollow: it must not pass for a button.
            bg.Glow(shape, ui::theme::kAccentBright, 7, 0.3);
            bg.Fill(shape, art::VerticalGradient(chip, art::Rgba(128, 21, 153, 0.45), art::Rgba(74, 10, 92, 0.45)));
            bg.Fill(art::InnerBand(shape, 1.2), art::Rgb(196, 104, 222));
        } else {
            bg.Fill(shape, art::VerticalGradient(chip, art::Rgb(40, 36, 52), art::Rgb(28, 26, 35)));
            bg.Fill(art::InnerBand(shape, 1), ui::theme::kEdge);
        }
    }
}

void DescribeInsertRecordPanel(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const int width = b.Width();
    ui::Well(bg, Box{8, 4, width - 8.0, 140});
    const int modeX = 18, modeW = 186, modeH = 32;
    b.AddControl(8, "MeasuredDelays", Rect{modeX, 24, modeW, modeH}, "Record the delays as typed",
                 ui::Painted(ui::SegmentTop));
    b.AddControl(9, "FixedDelay", Rect{modeX, 24 + modeH, modeW, modeH}, "A fixed delay between steps",
                 ui::Painted(ui::SegmentMiddle));
    b.AddControl(10, "NoDelays", Rect{modeX, 24 + 2 * modeH, modeW, modeH}, "No delays between steps",
                 ui::Painted(ui::SegmentBottom));
    const Rect delayBox{width - 84, 24 + modeH + 4, 66, 24};
    ui::FieldFrame(bg, delayBox, ui::theme::kField);
    b.AddArea(12, "FixedDelayBox", delayBox, "Fixed delay in milliseconds");
    b.AddControl(11, "Record", Rect{8, 154, width - 16, 44}, "Start or stop recording at the selected step",
                 ui::Painted(ui::RecordFace));
}

}  // namespace windows
