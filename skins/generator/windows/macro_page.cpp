// The macro page, beside the configuration page on the main window's page area
// and built like it: the macro card on top (choice, name, new, delete, menu),
// then the steps of the macro with their tools on the left and the recorder on
// the right. The insert panel opens over the recorder's panel, so the step list
// stays in sight while steps are inserted at its selected row.
#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Box;
using art::Rect;
using ui::IconStyle;
using ui::Pictogram;

void DescribeMacroPage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double right = b.Width() - 8;
    const double bottom = b.Height() - 8;

    ui::Card(bg, {8, 8, right, 96}, 8);
    const auto notch = art::RoundedRect({8, 32, 10.5, 72}, 1.25);
    bg.Glow(notch, ui::theme::kAccent, 6, 0.35);
    bg.Fill(notch, art::VerticalGradient({8, 32, 10.5, 72}, ui::theme::kAccentBright, ui::theme::kAccent));

    // Texts 28, 29 and 32 have no entries of their own; these places show the page
    // where the artwork left room for them.
    b.AddArea(22, "MacroLabel", Rect{24, 18, 88, 30}, "Macro label");
    b.AddControl(2, "MacroDropDown", Rect{116, 18, 250, 30}, "Choose a macro", ui::Field(Pictogram::kChevronDown));
    b.AddControl(7, "MacroName", Rect{116, 56, 250, 30}, "Rename the macro", ui::Field(Pictogram::kPencil));
    b.AddArea(21, "RenameBox", Rect{117, 59, 212, 24}, "Macro name");
    b.AddControl(3, "NewMacro", Rect{376, 56, 30, 30}, "New macro", ui::Icon(Pictogram::kPlus, IconStyle::kPlate));
    b.AddControl(4, "DeleteMacro", Rect{410, 56, 30, 30}, "Delete macro", ui::Icon(Pictogram::kTrash, IconStyle::kPlate));
    b.AddControl(5, "MacroMenu", Rect{444, 56, 30, 30}, "Copy - import - export",
                 ui::Icon(Pictogram::kMore, IconStyle::kPlate));
    // The drop-down list opens under the macro choice, over what lies below it.
    b.AddArea(0, "MacroList", Rect{116, 48, 250, 180}, "Macros");

    // The steps: the event list, and the step tools beside it.
    const double split = 326;
    ui::HeadedPanel(bg, {8, 104, split, bottom}, 36);
    b.AddArea(24, "StepsLabel", Rect{22, 110, 240, 24}, "Steps label");
    const Rect list{20, 152, 250, int(bottom) - 12 - 152};
    ui::ListArea(bg, list, ui::theme::kField);
    b.AddArea(18, "Steps", list, "Steps of the macro");
    const int toolX = 284;
    b.AddControl(16, "StepUp", Rect{toolX, 152, 30, 30}, "Move the step up",
                 ui::Icon(Pictogram::kChevronUp, IconStyle::kPlate));
    b.AddControl(17, "StepDown", Rect{toolX, 186, 30, 30}, "Move the step down",
                 ui::Icon(Pictogram::kChevronDown, IconStyle::kPlate));
    b.AddControl(14, "EditStep", Rect{toolX, 228, 30, 30}, "Edit the step",
                 ui::Icon(Pictogram::kPencil, IconStyle::kPlate));
    b.AddControl(15, "DeleteStep", Rect{toolX, 262, 30, 30}, "Delete the step",
                 ui::Icon(Pictogram::kTrash, IconStyle::kPlate));

    // The recorder: how delays are taken, then record; the insert button at the foot.
    const double left = split + 8;
    ui::HeadedPanel(bg, {left, 104, right, bottom}, 36);
    b.AddArea(23, "RecorderLabel", Rect{int(left) + 14, 110, 240, 24}, "Recorder label");
    // The three delay modes are one choice, stacked so that each keeps the full
    // width for its caption; the fixed delay's box sits beside its mode.
    ui::Well(bg, Box{left + 12, 152, right - 12, 288});
    const int modeX = int(left) + 22, modeW = 186, modeH = 32;
    b.AddControl(8, "MeasuredDelays", Rect{modeX, 172, modeW, modeH}, "Record the delays as typed",
                 ui::Painted(ui::SegmentTop));
    b.AddControl(9, "FixedDelay", Rect{modeX, 172 + modeH, modeW, modeH}, "A fixed delay between steps",
                 ui::Painted(ui::SegmentMiddle));
    b.AddControl(10, "NoDelays", Rect{modeX, 172 + 2 * modeH, modeW, modeH}, "No delays between steps",
                 ui::Painted(ui::SegmentBottom));
    const Rect delayBox{int(right) - 90, 172 + modeH + 4, 66, 24};
    ui::FieldFrame(bg, delayBox, ui::theme::kField);
    b.AddArea(12, "FixedDelayBox", delayBox, "Fixed delay in milliseconds");
    b.AddControl(11, "Record", Rect{int(left) + 12, 304, int(right - left) - 24, 44}, "Start or stop recording",
                 ui::Painted(ui::RecordFace));
    ui::AccentRule(bg, left + 24, right - 24, 396.5, 0.45);
    b.AddControl(19, "InsertSteps", Rect{int(left) + 12, int(bottom) - 56, int(right - left) - 24, 40},
                 "Insert steps before or after the selected one", ui::PushWithGlyph(Pictogram::kInsert));
    b.AddArea(20, "InsertPanel", Rect{int(left), 104, int(right - left), int(bottom) - 104}, "Insert panel");
}

}  // namespace windows
