// The question box: a small framed window with a warning mark, the question,
// a sunken field for the details, and three answers side by side.
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

// A rounded warning triangle with its exclamation mark, in the accent colour.
void WarningMark(art::Canvas& bg, double x, double y, double size) {
    const art::Point top{x + size / 2, y};
    const art::Point left{x, y + size * 0.88};
    const art::Point right{x + size, y + size * 0.88};
    const auto triangle = art::Polygon({top, right, left});
    bg.Glow(triangle, ui::theme::kAccent, 8, 0.45);
    bg.Fill(triangle, art::VerticalGradient({x, y, x + size, y + size}, ui::theme::kAccentBright, ui::theme::kAccent));
    const double cx = x + size / 2;
    bg.Fill(art::Segment({cx, y + size * 0.32}, {cx, y + size * 0.58}, size * 0.09), art::Rgb(24, 20, 31));
    bg.Fill(art::Circle({cx, y + size * 0.71}, size * 0.055), art::Rgb(24, 20, 31));
}

}  // namespace

void PaintDialogFrame(skin::SkinBuilder& b, double notchWidth) {
    ui::FrameStyle frame;
    frame.headerHeight = 44;
    frame.notchWidth = notchWidth;
    frame.cut = 16;
    const auto outline = ui::WindowOutline(b.Width(), b.Height(), frame);
    b.SetOutline(outline);
    ui::PaintWindowFrame(b.Background(), outline, frame);
}

void DescribeQuestionBox(skin::SkinBuilder& b) {
    PaintDialogFrame(b, 120);
    art::Canvas& bg = b.Background();
    WarningMark(bg, 22, 10, 24);

    // The program paints the title (Arial 18) in "1", the question in "2" and
    // fills the details box "3".
    b.AddArea(1, "Title", Rect{56, 8, 340, 30}, "Title");
    b.AddControl(4, "Close", Rect{b.Width() - 46, 9, 30, 26}, "Close", ui::Icon(Pictogram::kClose, IconStyle::kBare));
    b.AddArea(2, "Question", Rect{24, 56, b.Width() - 48, 64}, "Question");
    ui::FieldFrame(bg, Rect{24, 126, b.Width() - 48, 110}, ui::theme::kField);
    b.AddArea(3, "Details", Rect{28, 130, b.Width() - 56, 102}, "Details");

    const int answerWidth = (b.Width() - 48 - 2 * 10) / 3;
    for (int i = 0; i < 3; ++i)
        b.AddControl(5 + i, "Answer" + std::to_string(i + 1), Rect{24 + i * (answerWidth + 10), 252, answerWidth, 32},
                     "Answer", ui::Push());
}

}  // namespace windows
