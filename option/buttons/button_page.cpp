#include "button_page.h"

#include "assign_dialog.h"
#include "debug_output.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "skin_description.h"

namespace {

enum ButtonPageEntry { kTopTabEntry = 1, kSideTabEntry = 2, kViewsEntry = 3 };
constexpr UINT kTabTexts[2] = {option_text::kTopView, option_text::kSideView};
const char16_t* const kViewSkins[2] = {u"skin_Mouse.ini", u"skin_MousSide.ini"};

}  // namespace

ButtonPage::ButtonPage(const OptionContext& context)
    : CSkinPage(skin_files::kButtonPage), context_(context), session_(context.Session()) {}
ButtonPage::~ButtonPage() = default;

void ButtonPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    const int tabEntries[2] = {kTopTabEntry, kSideTabEntry};
    for (int i = 0; i < 2; ++i) {
        tabs_[i] = MakeButton(hwnd(), skin, tabEntries[i], pictures);
        if (!tabs_[i]) continue;
        tabs_[i]->SetText(context_.Text(kTabTexts[i]));
        tabs_[i]->SetAccessibleRole(AccessibleRole::kPageTab);
        tabs_[i]->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    CSkinButtonBase::JoinChoice({tabs_[0].get(), tabs_[1].get()});
    viewsArea_ = skin.ReadEntry(kViewsEntry).rect;
    KeepScaled(viewsArea_);
    for (int i = 0; i < 2; ++i) {
        views_[i].Plan(hwnd(), viewsArea_, [this, i] {
            return std::make_unique<MouseView>(kViewSkins[i], [this](int index) { OpenAssignment(index); }, context_);
        });
    }
    shown_ = 1;
    ShowView(0);
}

void ButtonPage::ShowRecords(MouseView& view) const {
    if (const ProfileRecord* current = session_.current()) view.Show(current->MacroKeyInfo);
}

void ButtonPage::Refresh() {
    if (!hwnd()) return;
    for (auto& view : views_)
        if (MouseView* built = view.Built()) ShowRecords(*built);
}

void ButtonPage::ShowView(int view) {
    if (view == shown_) return;
    // A view built now shows the profile as it is now; it is made before the
    // shown one goes, so the area never shows empty.
    if (!views_[view].Built()) {
        if (MouseView* built = views_[view].Build()) ShowRecords(*built);
    }
    views_[shown_].Show(false);
    views_[view].Show(true);
    shown_ = view;
    for (int i = 0; i < 2; ++i)
        if (tabs_[i]) tabs_[i]->SetCheck(i == view ? 1 : 0);
}

void ButtonPage::OpenAssignment(int buttonIndex) {
    const ProfileRecord* shown = session_.current();
    if (!shown || buttonIndex < 0 || buttonIndex >= kButtonCount) return;
    AssignDialog dialog(shown->MacroKeyInfo[buttonIndex], buttonIndex, session_.macros(), context_);
    // The dialog runs its own message loop: a game may come to the front
    // meanwhile, and Option then reads the store again, records and all. The
    // assignment belongs to the profile it was opened for.
    const EditedProfile opened = session_.EditedNow();
    dialog.SetOnAccept([this, opened, buttonIndex](const ButtonAssignment& accepted) {
        const EditOutcome outcome = session_.ApplyEdit(
            opened,
            [&](ProfileRecord& record) {
                record.MacroKeyInfo[buttonIndex] = accepted;
                return true;
            },
            context_.Monitor());
        if (!outcome.written) DebugOut(L"ButtonPage: the profile of the assignment is gone, nothing stored\n");
        else if (!outcome.apply.saved) DebugOut(L"ButtonPage: the profile store could not be saved\n");
    });
    const INT_PTR result = dialog.DoModal(GetAncestor(hwnd(), GA_ROOT));
    if (result == -1) DebugOut(L"ButtonPage: the assignment dialog could not be opened\n");
    // The views show the current profile, whichever took the assignment.
    if (result == IDOK) Refresh();
}

bool ButtonPage::OnDialogCommand(WORD, WORD, HWND control) {
    for (int i = 0; i < 2; ++i) {
        if (tabs_[i] && control == tabs_[i]->hwnd()) {
            ShowView(i);
            return true;
        }
    }
    return false;
}
