#include "config_page.h"

#include <commdlg.h>

#include "app_messages.h"
#include "debug_output.h"
#include "gdi_cache.h"
#include "monitor_port_win32.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "profile_actions.h"
#include "skin_control.h"
#include "skin_rect_win32.h"
#include "wide_text.h"

namespace {

enum ConfigEntry {
    kProfileCaptionEntry = 4,
    kRenameCaptionEntry = 9,
    kResetEntry = 14,
    kSubPageArea = 16,
    kGameEntry = 17,
    kGameClearEntry = 18,
};

constexpr UINT kTextReset = option_text::kResetProfile;
constexpr UINT kTextNoGame = option_text::kNoGame;
constexpr UINT kTextProgramFilter = option_text::kProgramFilter;

constexpr COLORREF kCaptionNormal = RGB(100, 100, 100);

}  // namespace

CConfigPage::CConfigPage(const OptionContext& context)
    : CSkinPage(skin_files::kConfigPage),
      context_(context),
      session_(context.Session()),
      profiles_(context, CProfileBar::Handlers{
                             [this](HWND button) { profiles_.CloseFor(button); },
                             [this](bool full) { ApplySettings(full); },
                             [this] { ShowGame(); },
                             [this] { subPages_.Refresh(); },
                         }),
      subPages_(context) {}

CConfigPage::~CConfigPage() = default;

std::wstring CConfigPage::OptionText(UINT id) const { return context_.Text(id); }

void CConfigPage::Bind(const std::unique_ptr<CSkinButton>& button, void (CConfigPage::*clicked)()) {
    if (!button) return;
    button->onClicked = [this, clicked, window = button->hwnd()] {
        profiles_.CloseFor(window);
        (this->*clicked)();
    };
}

void CConfigPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    subPages_.CreateTabs(hwnd(), skin, pictures, [this](HWND tab) { profiles_.CloseFor(tab); });
    profiles_.CreateButtons(hwnd(), skin, pictures);
    gameButton_ = MakeButton(hwnd(), skin, kGameEntry, pictures);
    if (gameButton_) gameButton_->SetPageCaption(15, CaptionAlign::kLeft);
    Bind(gameButton_, &CConfigPage::ChooseGame);
    gameClearButton_ = MakeButton(hwnd(), skin, kGameClearEntry, pictures);
    Bind(gameClearButton_, &CConfigPage::ClearGame);
    resetButton_ = MakeButton(hwnd(), skin, kResetEntry, pictures);
    if (resetButton_) {
        resetButton_->SetText(OptionText(kTextReset));
        resetButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    Bind(resetButton_, &CConfigPage::ResetCurrentProfile);
    profiles_.CreateListAndBox(hwnd(), skin);

    profileCaption_ = ToRect(skin.ReadEntry(kProfileCaptionEntry).rect);
    renameCaption_ = ToRect(skin.ReadEntry(kRenameCaptionEntry).rect);
    KeepScaled(profileCaption_);
    KeepScaled(renameCaption_);

    subPageArea_ = skin.ReadEntry(kSubPageArea).rect;
    KeepScaled(subPageArea_);
    subPages_.CreatePages(hwnd(), subPageArea_);
}

void CConfigPage::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, SkinFont(15));
    SetTextColor(dc, kCaptionNormal);
    DrawSkinText(dc, OptionText(option_text::kProfileCaption), profileCaption_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
    DrawSkinText(dc, OptionText(option_text::kRenameCaption), renameCaption_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
}

void CConfigPage::Refresh() {
    profiles_.Refresh();
    subPages_.Refresh();
}

void CConfigPage::ApplySettings(bool full) {
    if (full) {
        SetCapture(hwnd());
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    CMonitorPort monitor;
    const ApplyOutcome outcome = session_.Apply(full, monitor);
    if (!outcome.saved) DebugOut(L"CConfigPage: the profile store could not be saved\n");
    if (!outcome.told) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        ReleaseCapture();
    }
}

void CConfigPage::OnBackgroundPress(POINT) { CloseTransients(); }

void CConfigPage::OnOK() {
    if (profiles_.Renaming()) {
        profiles_.FinishRename();
        return;
    }
    CSkinPage::OnOK();
}

void CConfigPage::OnCancel() {
    if (CancelRename()) return;
    CSkinPage::OnCancel();
}

void CConfigPage::ResetCurrentProfile() {
    ProfileRecord* current = session_.current();
    if (!current) return;
    ResetProfile(*current);
    Refresh();
    MarkAllParts(session_.store().values);
    ApplySettings(true);
}

// ---- the game of the profile -------------------------------------------------------

void CConfigPage::ShowGame() {
    const ProfileRecord* current = session_.current();
    const std::u16string path = current ? FieldText(current->GameFile) : std::u16string();
    const size_t slash = path.find_last_of(u"\\/");
    const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    if (gameButton_) gameButton_->SetText(name.empty() ? OptionText(kTextNoGame) : Wide(name));
    if (gameClearButton_) EnableWindow(gameClearButton_->hwnd(), !path.empty());
}

void CConfigPage::ChooseGame() {
    const ProfileRecord* current = session_.current();
    if (!current) return;
    // "Programs (*.exe)", then its pattern: pairs of texts, each ending in NUL.
    std::wstring filter = OptionText(kTextProgramFilter);
    filter.push_back(L'\0');
    filter += L"*.exe";
    filter.push_back(L'\0');
    wchar_t path[kGameFileUnits] = {};
    lstrcpynW(path, Wide(FieldText(current->GameFile)).c_str(), kGameFileUnits);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = kGameFileUnits;
    ofn.lpstrDefExt = L"exe";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The file dialog runs its own message loop: a game may come to the front
    // meanwhile and its profile become current. The link belongs to the
    // profile the dialog was opened for.
    const EditedProfile opened = session_.EditedNow();
    // A path longer than the field cannot be stored: the dialog refuses it.
    if (!GetOpenFileNameW(&ofn)) return;
    if (!session_.SetGameFile(opened, Narrow16(TrimmedPath(path))))
        DebugOut(L"CConfigPage: the game could not be saved\n");
    ShowGame();
}

void CConfigPage::ClearGame() {
    if (!session_.current()) return;
    if (!session_.SetGameFile(u"")) DebugOut(L"CConfigPage: the game could not be unlinked\n");
    ShowGame();
}

// ---- messages ----------------------------------------------------------------------

bool CConfigPage::OnDialogCommand(WORD id, WORD code, HWND control) {
    // Enter and Esc: OnOK and OnCancel decide what they mean for a rename.
    if (!control && (id == IDOK || id == IDCANCEL)) return false;
    // The buttons' clicks went to their own handlers; what comes here is the
    // list's, the rename box's and the more-menu's.
    profiles_.CloseFor(control);
    return profiles_.OnCommand(id, code, control);
}

LRESULT CConfigPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGS_CHANGED) {
        ApplySettings(false);
        return 0;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}
