// The assignment dialog, opened from a button of the mouse views: the
// button's number in the header, the choice of a category, the place where
// the category's page shows, and accept and cancel at the foot. The nine pages
// continue the dialog's picture under that place; each holds the few controls
// that its category needs.
#include "ui/theme.h"
#include "ui/widgets.h"
#include "ui/window_frame.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;
using ui::IconStyle;
using ui::Pictogram;
using skin::State;

namespace {

// The page place: the pages are made for its size.
constexpr Rect kPagePlace{20, 104, 400, 170};

// The program writes the page's caption here (Arial 15, grey).
constexpr Rect kLabel{20, 16, 360, 22};

// A choice of a group that the program captions: a push face with a ring at
// its left end that lights when chosen.
void ChoiceFace(art::Canvas& c, const Rect& r, State s) {
    ui::PushFace(c, r, s);
    ui::RadioFace(c, r, s);
}

// The pages with one drop-down under their caption.
void DescribeDropDownPage(skin::SkinBuilder& b, const char* what) {
    b.AddArea(1, "Label", kLabel, "Caption");
    b.AddControl(2, "Choice", Rect{20, 50, 300, 32}, what, ui::Painted(ui::MenuButtonFace));
}

}  // namespace

void DescribeAssignmentDialog(skin::SkinBuilder& b) {
    PaintDialogFrame(b, 110);
    art::Canvas& bg = b.Background();
    // The button's number, "G1" and on, in Arial 26.
    b.AddArea(1, "Title", Rect{24, 5, 120, 34}, "Button");
    b.AddControl(5, "Close", Rect{b.Width() - 46, 9, 30, 26}, "Close", ui::Icon(Pictogram::kClose, IconStyle::kBare));
    b.AddControl(2, "Category", Rect{20, 56, 240, 32}, "What kind of function the button gets",
                 ui::Painted(ui::MenuButtonFace));
    ui::AccentRule(bg, 20, b.Width() - 20, 96.5, 0.35);
    ui::Well(bg, kPagePlace.ToBox());
    b.AddArea(6, "Page", kPagePlace, "Settings of the category");
    b.AddControl(3, "Accept", Rect{b.Width() - 272, b.Height() - 48, 120, 32}, "Give the button this function",
                 ui::Push());
    b.AddControl(4, "Cancel", Rect{b.Width() - 140, b.Height() - 48, 120, 32}, "Keep the button as it was",
                 ui::Push());
}

void DescribeSetDefaultPage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    // The default function's name, large, on a chip in the middle of the page.
    const Rect caption{20, 65, 360, 40};
    ui::Card(bg, caption.ToBox().Inflated(3), 6);
    const Box tick{caption.x + 6.0, caption.y + 10.0, caption.x + 8.5, caption.Bottom() - 10.0};
    bg.Glow(art::RoundedRect(tick, 1.25), ui::theme::kAccent, 5, 0.35);
    bg.Fill(art::RoundedRect(tick, 1.25), art::VerticalGradient(tick, ui::theme::kAccentBright, ui::theme::kAccent));
    b.AddArea(1, "Default", caption, "Function the button has from the factory");
}

void DescribeSetKeyPage(skin::SkinBuilder& b) {
    b.AddArea(1, "Label", kLabel, "Caption");
    const Rect box{20, 50, 240, 30};
    ui::FieldFrame(b.Background(), box, ui::theme::kField);
    b.AddArea(2, "Key", box, "Press the key or key combination");
}

void DescribeSetMousePage(skin::SkinBuilder& b) { DescribeDropDownPage(b, "Choose a mouse function"); }
void DescribeSetDpiPage(skin::SkinBuilder& b) { DescribeDropDownPage(b, "Choose a DPI function"); }
void DescribeSetMediaPage(skin::SkinBuilder& b) { DescribeDropDownPage(b, "Choose a media key"); }
void DescribeSetShortcutPage(skin::SkinBuilder& b) { DescribeDropDownPage(b, "Choose a shortcut"); }

void DescribeSetMacroPage(skin::SkinBuilder& b) {
    b.AddArea(1, "Label", Rect{20, 8, 360, 22}, "Caption");
    b.AddControl(2, "Macro", Rect{20, 34, 300, 30}, "Choose a macro", ui::Field(Pictogram::kChevronDown));
    // The list drops down over the repeat settings.
    b.AddArea(3, "MacroList", Rect{20, 64, 300, 104}, "Macros");
    b.AddArea(4, "RepeatLabel", Rect{20, 76, 180, 22}, "Repeat caption");
    b.AddControl(5, "Repeat", Rect{20, 100, 180, 30}, "How the macro repeats", ui::Painted(ui::MenuButtonFace));
    b.AddArea(6, "CountLabel", Rect{212, 104, 92, 22}, "Count caption");
    // The program frames the count box itself: three pixels around it stay free.
    const Rect count{310, 101, 70, 28};
    ui::FieldFrame(b.Background(), count, ui::theme::kField);
    b.AddArea(7, "Count", count, "How many times the macro runs");
}

void DescribeSetLaunchPage(skin::SkinBuilder& b) {
    b.AddArea(1, "Label", Rect{20, 10, 360, 22}, "Caption");
    b.AddControl(2, "Program", Rect{14, 44, 146, 30}, "Start a program", ui::Painted(ChoiceFace));
    b.AddControl(3, "Path", Rect{166, 44, 222, 30}, "Choose the program", ui::Field(Pictogram::kFolder));
    b.AddControl(4, "Command", Rect{14, 92, 146, 30}, "Run a typed command", ui::Painted(ChoiceFace));
    const Rect box{168, 93, 218, 28};
    ui::FieldFrame(b.Background(), box, ui::theme::kField);
    b.AddArea(5, "CommandBox", box, "The command to run");
}

void DescribeSetBlockPage(skin::SkinBuilder& b) {
    // Nothing to set: the page only says that the button does nothing.
    art::Canvas& bg = b.Background();
    const Box mark{b.Width() / 2.0 - 30, b.Height() / 2.0 - 30, b.Width() / 2.0 + 30, b.Height() / 2.0 + 30};
    const auto sign = ui::PictogramShape(Pictogram::kBlocked, mark, 4);
    bg.Glow(sign, ui::theme::kAccent, 10, 0.25);
    bg.Fill(art::Translate(sign, {0, 1}), ui::theme::kBlack, 0.5);
    bg.Fill(sign, art::VerticalGradient(mark, art::Rgb(92, 80, 108), art::Rgb(58, 52, 70)));
}

}  // namespace windows
