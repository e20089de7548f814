#include "config_page.h"

#include <commdlg.h>

#include "app_messages.h"
#include "debug_output.h"
#include "gdi_cache.h"
#include "monitor_port_win32.h"
#include "option_context.h"
#include "option_session.h"
#include "profile_actions.h"
#include "skin_control.h"

namespace {

enum ConfigEntry {
    kTextArea8 = 4,
    kTextArea9 = 9,
    kResetEntry = 14,
    kSubPageArea = 16,
    kGameEntry = 17,
    kGameClearEntry = 18,
};

constexpr UINT kText8 = 8;
constexpr UINT kText9 = 9;
constexpr UINT kTextReset = 341;
constexpr UINT kTextNoGame = 370;
constexpr UINT kTextProgramFilter = 371;

constexpr COLORREF kCaptionNormal = RGB(100, 100, 100);

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
std::u16string Narrow16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

CConfigPage::CConfigPage(OptionSession& session)
    : CSkinPage(skin_files::kConfigPage),
      session_(session),
      profiles_(session, CProfileBar::Handlers{
                             [this](HWND button) { profiles_.CloseFor(button); },
                             [this](bool full) { ApplySettings(full); },
                             [this] { ShowGame(); },
                             [this] { subPages_.Refresh(); },
                         }),
      subPages_(session) {}

CConfigPage::~CConfigPage() {
    if (SettingsTarget() == hwnd() && hwnd()) RegisterSettingsTarget(nullptr);
}

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
    if (gameButton_) gameButton_->SetPageCaption(15, 1);
    Bind(gameButton_, &CConfigPage::ChooseGame);
    gameClearButton_ = MakeButton(hwnd(), skin, kGameClearEntry, pictures);
    Bind(gameClearButton_, &CConfigPage::ClearGame);
    resetButton_ = MakeButton(hwnd(), skin, kResetEntry, pictures);
    if (resetButton_) {
        resetButton_->SetText(OptionText(kTextReset));
        resetButton_->SetPageCaption(15, 0);
    }
    Bind(resetButton_, &CConfigPage::ResetCurrentProfile);
    profiles_.CreateListAndBox(hwnd(), skin);

    textArea8_ = ToRect(skin.ReadEntry(kTextArea8).rect);
    textArea9_ = ToRect(skin.ReadEntry(kTextArea9).rect);

    subPages_.CreatePages(hwnd(), skin.ReadEntry(kSubPageArea).rect);
}

BOOL CConfigPage::OnInitDialog() {
    RegisterSettingsTarget(hwnd());
    return TRUE;
}

void CConfigPage::OnDestroy() {
    if (SettingsTarget() == hwnd()) RegisterSettingsTarget(nullptr);
    CSkinPage::OnDestroy();
}

void CConfigPage::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, CachedFont(kSkinFontFace, 15));
    SetTextColor(dc, kCaptionNormal);
    DrawSkinText(dc, OptionText(kText8), textArea8_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
    DrawSkinText(dc, OptionText(kText9), textArea9_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
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
