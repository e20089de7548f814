// The configuration page: the profile card on top (profile choice, name, new,
// delete, menu, reset), then the sub-page tabs over the sunken sub-page area.
#include "ui/theme.h"
#include "ui/widgets.h"
#include "windows/windows.h"

namespace windows {

using art::Rect;
using ui::IconStyle;
using ui::Pictogram;

void DescribeConfigPage(skin::SkinBuilder& b) {
    art::Canvas& bg = b.Background();
    const double right = b.Width() - 8;

    ui::Card(bg, {8, 8, right, 96}, 8);
    // Accent notch on the card's left edge, by the profile rows.
    const auto notch = art::RoundedRect({8, 32, 10.5, 72}, 1.25);
    bg.Glow(notch, ui::theme::kAccent, 6, 0.35);
    bg.Fill(notch, art::VerticalGradient({8, 32, 10.5, 72}, ui::theme::kAccentBright, ui::theme::kAccent));

    // Texts 8 and 9 (Arial 15) are painted by the page into these places.
    b.AddArea(4, "ProfileLabel", Rect{24, 18, 88, 30}, "Profile");
    b.AddArea(9, "NameLabel", Rect{24, 56, 88, 30}, "Name");

    b.AddControl(5, "ProfileDropDown", Rect{116, 18, 250, 30}, "Choose a profile", ui::Field(Pictogram::kChevronDown));
    b.AddControl(10, "ProfileName", Rect{116, 56, 250, 30}, "Rename the profile", ui::Field(Pictogram::kPencil));
    // The rename box opens inside the name field, on the field's own colour.
    b.AddArea(15, "RenameBox", Rect{117, 59, 212, 24}, "Profile name");
    b.AddControl(6, "NewProfile", Rect{376, 56, 30, 30}, "New profile", ui::Icon(Pictogram::kPlus, IconStyle::kPlate));
    b.AddControl(7, "DeleteProfile", Rect{410, 56, 30, 30}, "Delete profile",
                 ui::Icon(Pictogram::kTrash, IconStyle::kPlate));
    b.AddControl(8, "ProfileMenu", Rect{444, 56, 30, 30}, "Copy - import - export",
                 ui::Icon(Pictogram::kMore, IconStyle::kPlate));
    b.AddControl(14, "ResetProfile", Rect{520, 37, 104, 30}, "Restore the default settings", ui::Push());
    // The profile's game, in the first row beside the profile choice: the field
    // names its program and opens the file dialog, the cross unlinks it.
    b.AddControl(17, "GameFile", Rect{376, 18, 104, 30}, "Game that makes this profile current",
                 ui::Field(Pictogram::kMore));
    b.AddControl(18, "ClearGame", Rect{484, 18, 30, 30}, "Unlink the game", ui::Icon(Pictogram::kClose, IconStyle::kPlate));
    // The drop-down list opens under the profile choice, over the rows below it.
    b.AddArea(13, "ProfileList", Rect{116, 48, 250, 180}, "Profiles");

    const Rect area{8, 140, b.Width() - 16, 344};
    // Square where the first tab stands on it.
    ui::RecessedPanel(bg, area.ToBox(), art::CornerRadii{0, 8, 8, 8});
    ui::AccentRule(bg, area.x + 1, area.Right() - 1, area.y + 0.5, 0.55);
    b.AddControl(1, "ButtonsTab", Rect{8, 106, 150, 34}, "Button assignments", ui::Painted(ui::PanelTab));
    b.AddControl(2, "PerformanceTab", Rect{160, 106, 150, 34}, "DPI - pointer speed - polling rate",
                 ui::Painted(ui::PanelTab));
    b.AddControl(3, "LightingTab", Rect{312, 106, 150, 34}, "Lighting", ui::Painted(ui::PanelTab));
    b.AddArea(16, "SubPageArea", area, "Sub-page area");
}

}  // namespace windows
