#include "config_page.h"

#include <commdlg.h>

#include "app_messages.h"
#include "button_page.h"
#include "debug_output.h"
#include "exchange_file.h"
#include "file_io.h"
#include "macro_record.h"
#include "main_window.h"
#include "gdi_cache.h"
#include "lighting_page.h"
#include "option_text_ids.h"
#include "performance_page.h"
#include "module.h"
#include "skin_control.h"
#include "monitor_port_win32.h"
#include "option_context.h"
#include "option_session.h"
#include "profile_actions.h"
#include "question_box.h"
#include "program_folder.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "skin_scroll_bar.h"
#include "wide_text.h"

namespace {

enum ConfigEntry {
    kButtonTab = 1,
    kPerformanceTab = 2,
    kLightingTab = 3,
    kProfileCaptionEntry = 4,
    kDropDownEntry = 5,
    kNewEntry = 6,
    kDeleteEntry = 7,
    kMenuEntry = 8,
    kRenameCaptionEntry = 9,
    kNameEntry = 10,
    kListEntry = 13,
    kResetEntry = 14,
    kRenameEntry = 15,
    kSubPageArea = 16,
    kGameEntry = 17,
    kGameClearEntry = 18,
};

constexpr int kListId = 4112;
constexpr int kRenameId = 4011;
constexpr int kRenameLimit = 20;
constexpr DWORD kListStyle = kSkinListStyle;
// Multi-line, so the text can be centred.
constexpr DWORD kRenameStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE;

constexpr UINT kMenuCopy = 1001;
constexpr UINT kMenuImport = 1002;
constexpr UINT kMenuExport = 1003;

constexpr UINT kTabTexts[3] = {option_text::kButtonsTab, option_text::kPerformanceTab, option_text::kLightingTab};
constexpr UINT kTextDeleteQuestion = option_text::kDeleteProfileQuestion;
constexpr UINT kTextCopy = option_text::kCopy;
constexpr UINT kTextImport = option_text::kImport;
constexpr UINT kTextExport = option_text::kExport;
constexpr UINT kTextReset = option_text::kResetProfile;
constexpr UINT kTextDeleteCaption = option_text::kDeleteProfileTitle;
constexpr UINT kTextLaunchQuestion = option_text::kLaunchImportQuestion;
constexpr UINT kTextLaunchProgram = option_text::kLaunchImportProgram;
constexpr UINT kTextLaunchCommand = option_text::kLaunchImportCommand;
constexpr UINT kTextImportAsIs = option_text::kImportAsIs;
constexpr UINT kTextImportReset = option_text::kImportResetLaunch;
constexpr UINT kTextImportNone = option_text::kImportNothing;
constexpr UINT kTextNoGame = option_text::kNoGame;
constexpr UINT kTextProgramFilter = option_text::kProgramFilter;

constexpr COLORREF kCaptionNormal = RGB(100, 100, 100);

const wchar_t* const kSubPageSkins[3] = {
    reinterpret_cast<const wchar_t*>(skin_files::kButtonPage),
    reinterpret_cast<const wchar_t*>(skin_files::kPerformance),
    reinterpret_cast<const wchar_t*>(skin_files::kLighting),
};

// The default file both exchange dialogs offer: a file named ".gmp" in the store's folder.
std::wstring DefaultExchangeFile() { return (GetProgramFolder() / L"config" / L".gmp").wstring(); }

std::wstring TrimmedPath(const wchar_t* path) {
    std::wstring text(path);
    const size_t first = text.find_first_not_of(L" \t");
    const size_t last = text.find_last_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

// The platform's filters: pairs of display text and pattern, each ending in NUL.
constexpr wchar_t kExportFilter[] = L"Gaming Mouse Profile(*.gmp)\0*.GMP\0";
constexpr wchar_t kImportFilter[] = L"Gaming Mouse Profile(*.gmp)\0*.gmp\0";

// The platform's save-file (export) or open-file (import) dialog over the
// default exchange file; empty when the user cancels.
std::wstring ChooseExchangeFile(HWND owner, bool save) {
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, DefaultExchangeFile().c_str(), MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = save ? kExportFilter : kImportFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"gmp";
    ofn.Flags = save ? OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return {};
    return path;
}

}  // namespace

CConfigPage::CConfigPage(CMainWindow& main) : CSkinPage(skin_files::kConfigPage), main_(main) {}

CConfigPage::~CConfigPage() = default;

OptionSession* CConfigPage::Session() const { return main_.session(); }
std::wstring CConfigPage::OptionText(UINT id) const { return main_.Text(id); }

void CConfigPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    const int tabEntries[3] = {kButtonTab, kPerformanceTab, kLightingTab};
    for (int i = 0; i < 3; ++i) {
        tabs_[i] = MakeButton(hwnd(), skin, tabEntries[i], pictures);
        if (!tabs_[i]) continue;
        tabs_[i]->SetText(OptionText(kTabTexts[i]));
        tabs_[i]->SetPageCaption(15, 0);
    }
    if (tabs_[0]) tabs_[0]->SetCheck(1);

    dropDown_ = MakeButton(hwnd(), skin, kDropDownEntry, pictures);
    if (dropDown_) {
        dropDown_->SetCheckMode(true);
        dropDown_->SetPageCaption(15, 1);
    }
    newButton_ = MakeButton(hwnd(), skin, kNewEntry, pictures);
    deleteButton_ = MakeButton(hwnd(), skin, kDeleteEntry, pictures);
    menuButton_ = MakeButton(hwnd(), skin, kMenuEntry, pictures);
    nameButton_ = MakeButton(hwnd(), skin, kNameEntry, pictures);
    if (nameButton_) nameButton_->SetPageCaption(15, 1);
    gameButton_ = MakeButton(hwnd(), skin, kGameEntry, pictures);
    if (gameButton_) gameButton_->SetPageCaption(15, 1);
    gameClearButton_ = MakeButton(hwnd(), skin, kGameClearEntry, pictures);
    resetButton_ = MakeButton(hwnd(), skin, kResetEntry, pictures);
    if (resetButton_) {
        resetButton_->SetText(OptionText(kTextReset));
        resetButton_->SetPageCaption(15, 0);
    }

    list_ = std::make_unique<CSkinListBox>();
    // The configuration page's colours are the list's own defaults.
    if (list_->Create(hwnd(), skin.ReadEntry(kListEntry).rect, kListId, kListStyle, ListBoxColors{})) {
        auto bitmap = static_cast<HBITMAP>(LoadImageW(CurrentModule(), MAKEINTRESOURCEW(ScrollBitmapGrid::kResourceId),
                                                      IMAGE_BITMAP, 0, 0, LR_SHARED));
        CSkinScrollBar::SkinList(list_->hwnd(), bitmap);
        CSkinScrollBar::HideSkinned(list_->hwnd());
    } else {
        list_.reset();
    }

    renameBox_ = std::make_unique<CBitmapEdit>();
    if (renameBox_->Create(hwnd(), skin.ReadEntry(kRenameEntry).rect, kRenameStyle, kRenameId)) {
        renameBox_->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
        renameBox_->ApplyFont();
        renameBox_->SetLimit(kRenameLimit);
        ShowWindow(renameBox_->hwnd(), SW_HIDE);
    } else {
        renameBox_.reset();
    }

    profileCaption_ = ToRect(skin.ReadEntry(kProfileCaptionEntry).rect);
    renameCaption_ = ToRect(skin.ReadEntry(kRenameCaptionEntry).rect);

    const SkinRect area = skin.ReadEntry(kSubPageArea).rect;
    for (int i = 0; i < 3; ++i) {
        subPages_[i] = MakeSubPage(static_cast<SubPage>(i));
        if (subPages_[i] && !subPages_[i]->CreateAt(hwnd(), area)) subPages_[i].reset();
    }
    if (subPages_[0]) ShowWindow(subPages_[0]->hwnd(), SW_SHOW);
    shownSub_ = SubPage::kButtons;
}

std::unique_ptr<CSkinPage> CConfigPage::MakeSubPage(SubPage page) {
    const OptionContext* context = main_.context();
    switch (page) {
        case SubPage::kButtons:
            if (context) return std::make_unique<ButtonPage>(*context);
            break;
        case SubPage::kPerformance:
            if (context) return std::make_unique<PerformancePage>(*context);
            break;
        case SubPage::kLighting:
            if (context) return std::make_unique<LightingPage>(*context);
            break;
        default:
            break;
    }
    return std::make_unique<CSkinPage>(Narrow16(kSubPageSkins[static_cast<int>(page)]));
}

void CConfigPage::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, CachedFont(kSkinFontFace, 15));
    SetTextColor(dc, kCaptionNormal);
    DrawSkinText(dc, OptionText(option_text::kProfileCaption), profileCaption_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
    DrawSkinText(dc, OptionText(option_text::kRenameCaption), renameCaption_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
}

std::wstring CConfigPage::CurrentName() const {
    OptionSession* session = Session();
    const ProfileRecord* current = session ? session->current() : nullptr;
    return current ? Wide(FieldText(current->ProFileName)) : std::wstring();
}

void CConfigPage::ShowName(const std::wstring& name) {
    if (dropDown_) dropDown_->SetText(name);
    if (nameButton_) nameButton_->SetText(name);
    if (renameBox_) renameBox_->SetText(name);
    // Both captions change together, at once.
    if (dropDown_) UpdateWindow(dropDown_->hwnd());
    if (nameButton_) UpdateWindow(nameButton_->hwnd());
    ShowGame();
}

void CConfigPage::Refresh() {
    RefillList();
    ShowName(CurrentName());
    RefreshSubPages();
}

void CConfigPage::RefreshSubPages() {
    if (!Session() || !Session()->current()) return;
    for (auto& page : subPages_)
        if (page) page->Refresh();
}

void CConfigPage::RefreshFromMonitor() {
    if (auto& page = subPages_[static_cast<int>(SubPage::kPerformance)]) page->Refresh();
}

void CConfigPage::RefillList() {
    OptionSession* session = Session();
    if (!list_ || !session) return;
    list_->ResetContent();
    for (const auto& profile : session->store().profiles) list_->AddString(Wide(FieldText(profile->ProFileName)), 0);
    list_->SetCurSel(session->store().values.ProfileID);
}

void CConfigPage::ApplySettings(bool full) {
    OptionSession* session = Session();
    if (!session) return;
    if (full) {
        SetCapture(hwnd());
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    CMonitorPort monitor;
    const ApplyOutcome outcome = session->Apply(full, monitor);
    if (!outcome.saved) DebugOut(L"CConfigPage: the profile store could not be saved\n");
    if (!outcome.told) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        ReleaseCapture();
    }
}

void CConfigPage::SelectProfile(int position) {
    OptionSession* session = Session();
    if (!session || !GetProfileAt(session->store().profiles, position)) return;
    session->store().values.ProfileID = position;
    // The mouse first: the captions and pages follow while it downloads.
    MarkAllParts(session->store().values);
    ApplySettings(true);
    CloseDropDown();
    ShowName(CurrentName());
    RefreshSubPages();
}

// ---- drop-down and rename ----------------------------------------------------------

void CConfigPage::OpenDropDown() {
    dropDownOpen_ = true;
    if (list_) {
        CSkinScrollBar::ShowSkinned(list_->hwnd());
        RefillList();
        // The wheel and the arrow keys go to the open list.
        SetFocus(list_->hwnd());
    }
    for (auto* button : {nameButton_.get(), newButton_.get(), deleteButton_.get(), menuButton_.get()})
        if (button) ShowWindow(button->hwnd(), SW_HIDE);
    if (renameBox_) ShowWindow(renameBox_->hwnd(), SW_HIDE);
}

void CConfigPage::CloseDropDown() {
    if (dropDown_) dropDown_->SetCheck(0);
    dropDownOpen_ = false;
    if (list_) CSkinScrollBar::HideSkinned(list_->hwnd());
    for (auto* button : {nameButton_.get(), newButton_.get(), deleteButton_.get(), menuButton_.get()})
        if (button) ShowWindow(button->hwnd(), SW_SHOW);
}

void CConfigPage::StartRename() {
    if (!renameBox_ || !Session() || !Session()->current()) return;
    renameBox_->SetText(CurrentName());
    ShowWindow(renameBox_->hwnd(), SW_SHOW);
    SetFocus(renameBox_->hwnd());
    SendMessageW(renameBox_->hwnd(), EM_SETSEL, 0, -1);
    if (nameButton_) ShowWindow(nameButton_->hwnd(), SW_HIDE);
    renaming_ = true;
}

void CConfigPage::FinishRename() {
    if (!renaming_) return;
    renaming_ = false;
    OptionSession* session = Session();
    std::wstring shown = CurrentName();
    if (session && renameBox_) {
        const std::wstring typed = renameBox_->Text();
        const auto accepted =
            AcceptedRename(session->store().profiles, session->store().values.ProfileID, Narrow16(typed));
        if (accepted) {
            CopyToField(session->current()->ProFileName, *accepted);
            // A name changes nothing on the mouse: saved, not applied.
            if (!session->SaveWithoutApply()) DebugOut(L"CConfigPage: the renamed profile could not be saved\n");
            shown = Wide(*accepted);
        }
    }
    if (nameButton_) nameButton_->SetCheck(0);
    ShowName(shown);
    if (nameButton_) ShowWindow(nameButton_->hwnd(), SW_SHOW);
    if (renameBox_) ShowWindow(renameBox_->hwnd(), SW_HIDE);
}

bool CConfigPage::CancelRename() {
    if (!renaming_) return false;
    if (renameBox_) renameBox_->SetText(CurrentName());
    FinishRename();  // the old name is refused as unchanged and shown again
    return true;
}

std::optional<CConfigPage::PendingRename> CConfigPage::RenameInProgress() const {
    OptionSession* session = Session();
    if (!renaming_ || !session || !renameBox_) return std::nullopt;
    return PendingRename{session->store().values.ProfileID, Narrow16(CurrentName()), Narrow16(renameBox_->Text())};
}

bool CConfigPage::CloseTransients() {
    const bool open = dropDownOpen_ || renaming_;
    if (dropDownOpen_) CloseDropDown();
    FinishRename();
    return open;
}

void CConfigPage::OnBackgroundPress(POINT) { CloseTransients(); }

void CConfigPage::OnOK() {
    if (renaming_) {
        FinishRename();
        return;
    }
    CSkinPage::OnOK();
}

void CConfigPage::OnCancel() {
    if (CancelRename()) return;
    CSkinPage::OnCancel();
}

// ---- profile operations ------------------------------------------------------------

void CConfigPage::NewProfile() {
    OptionSession* session = Session();
    if (!session) return;
    SelectProfile(AddNewProfile(session->store()));
    RefillList();
}

void CConfigPage::DeleteProfile() {
    OptionSession* session = Session();
    if (!session || session->store().profiles.size() <= 1) return;
    const std::wstring question = OptionText(kTextDeleteQuestion);
    const std::wstring caption = OptionText(kTextDeleteCaption);
    // The profile shown is the one asked about, and the one deleted, even when
    // the Monitor switched to another while the question was open.
    const ProfileMark shown = MarkCurrentProfile(session->store());
    if (MessageBoxW(GetAncestor(hwnd(), GA_ROOT), question.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION) !=
        IDOK)
        return;
    if (!DeleteProfileAt(session->store(), FindMarkedProfile(session->store().profiles, shown))) return;
    RefillList();
    SelectProfile(session->store().values.ProfileID);
}

void CConfigPage::CopyProfile() {
    OptionSession* session = Session();
    if (!session) return;
    const int rows = list_ ? list_->Count() : 0;
    const int position = CopyCurrentProfile(session->store());
    if (position < 0) return;
    if (list_) {
        list_->SetTopIndex(rows > 0 ? rows - 1 : 0);
        list_->AddString(CurrentName(), 0);
        // The list's selection follows: the copy is the profile shown now.
        list_->SetCurSel(position);
    }
    SelectProfile(position);
}

void CConfigPage::ResetCurrentProfile() {
    OptionSession* session = Session();
    ProfileRecord* current = session ? session->current() : nullptr;
    if (!current) return;
    ResetProfile(*current);
    Refresh();
    MarkAllParts(session->store().values);
    ApplySettings(true);
}

void CConfigPage::ShowProfileMenu() {
    if (!menuButton_) return;
    CSkinPopupMenu menu(CachedFont(kSkinFontFace, 15, 0, FW_NORMAL));
    menu.AddItem(kMenuCopy, OptionText(kTextCopy));
    menu.AddItem(kMenuImport, OptionText(kTextImport));
    menu.AddItem(kMenuExport, OptionText(kTextExport));
    menu.SetWidth(30);
    menu.TrackUnder(hwnd(), *menuButton_);
}

void CConfigPage::ExportProfile() {
    OptionSession* session = Session();
    if (!session || !session->current()) return;
    // The Monitor may reload the store while the dialog is open, which frees
    // the records of now: the profile is found again afterwards, as it is then,
    // and a copy of it as it is now stands in when it is gone.
    const ProfileMark shown = MarkCurrentProfile(session->store());
    const ProfileRecord before = *session->current();
    const std::wstring path = ChooseExchangeFile(GetAncestor(hwnd(), GA_ROOT), true);
    if (path.empty()) return;
    const ProfileRecord* now = GetProfileAt(session->store().profiles, FindMarkedProfile(session->store().profiles, shown));
    // The file is replaced in one step; nothing is said afterwards either way.
    std::string error;
    if (!WriteExchangeSection(now ? *now : before, std::filesystem::path(path), &error))
        DebugOut(L"CConfigPage: the profile could not be exported\n");
}

void CConfigPage::ImportProfile() {
    OptionSession* session = Session();
    if (!session) return;
    const std::wstring path = ChooseExchangeFile(GetAncestor(hwnd(), GA_ROOT), false);
    if (path.empty()) return;

    std::string error;
    std::unique_ptr<ProfileRecord> record =
        ReadProfileForImport(std::filesystem::path(TrimmedPath(path.c_str())), error);
    if (!record) {
        DebugOut(L"CConfigPage: the chosen file holds no profile\n");
        return;
    }
    const std::vector<LaunchAction> actions = LaunchActionsOf(*record);
    if (!actions.empty()) {
        // A shared profile must not start programs without its new owner knowing.
        CQuestionBox::Content question;
        question.title = OptionText(kTextImport);
        question.question = OptionText(kTextLaunchQuestion);
        for (const LaunchAction& action : actions) {
            question.details += OptionText(action.code == kCodeLaunchProgram ? kTextLaunchProgram : kTextLaunchCommand);
            question.details += L" " + std::to_wstring(ButtonNumber(action.buttonIndex)) + L": " + Wide(action.target);
            question.details += L"\r\n";
        }
        question.answers = {OptionText(kTextImportAsIs), OptionText(kTextImportReset), OptionText(kTextImportNone)};
        // Enter takes the safe import: the profile without what it would run.
        question.defaultAnswer = 2;
        const int answer = CQuestionBox(std::move(question)).Ask(GetAncestor(hwnd(), GA_ROOT));
        if (answer == 2) ResetLaunchActions(*record);
        if (answer != 1 && answer != 2) return;
    }
    SelectProfile(AddImportedProfile(session->store(), std::move(record)));
    RefillList();
}

// ---- the game of the profile -------------------------------------------------------

void CConfigPage::ShowGame() {
    OptionSession* session = Session();
    const ProfileRecord* current = session ? session->current() : nullptr;
    const std::u16string path = current ? FieldText(current->GameFile) : std::u16string();
    const size_t slash = path.find_last_of(u"\\/");
    const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    if (gameButton_) gameButton_->SetText(name.empty() ? OptionText(kTextNoGame) : Wide(name));
    if (gameClearButton_) EnableWindow(gameClearButton_->hwnd(), !path.empty());
}

void CConfigPage::ChooseGame() {
    OptionSession* session = Session();
    const ProfileRecord* current = session ? session->current() : nullptr;
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
    const EditedProfile opened = session->EditedNow();
    // A path longer than the field cannot be stored: the dialog refuses it.
    if (!GetOpenFileNameW(&ofn)) return;
    if (!session->SetGameFile(opened, Narrow16(TrimmedPath(path))))
        DebugOut(L"CConfigPage: the game could not be saved\n");
    ShowGame();
}

void CConfigPage::ClearGame() {
    OptionSession* session = Session();
    if (!session || !session->current()) return;
    if (!session->SetGameFile(u"")) DebugOut(L"CConfigPage: the game could not be unlinked\n");
    ShowGame();
}

// ---- messages ----------------------------------------------------------------------

void CConfigPage::ShowSubPage(SubPage page) {
    if (page == shownSub_) return;
    if (auto& from = subPages_[static_cast<int>(shownSub_)]) ShowWindow(from->hwnd(), SW_HIDE);
    if (auto& to = subPages_[static_cast<int>(page)]) ShowWindow(to->hwnd(), SW_SHOW);
    shownSub_ = page;
    for (int i = 0; i < 3; ++i)
        if (tabs_[i]) tabs_[i]->SetCheck(i == static_cast<int>(page) ? 1 : 0);
}

bool CConfigPage::OnDialogCommand(WORD id, WORD code, HWND control) {
    // Enter and Esc: OnOK and OnCancel decide what they mean for a rename.
    if (!control && (id == IDOK || id == IDCANCEL)) return false;
    const bool fromList = list_ && control == list_->hwnd();
    const bool fromRename = renameBox_ && control == renameBox_->hwnd();
    if (dropDownOpen_ && !fromList && !Is(dropDown_, control)) CloseDropDown();
    if (renaming_ && !fromRename) FinishRename();

    if (!control && id >= kMenuCopy && id <= 1020) {
        if (id == kMenuCopy) CopyProfile();
        if (id == kMenuImport) ImportProfile();
        if (id == kMenuExport) ExportProfile();
        return true;
    }
    if (fromList) {
        if (code == LBN_SELCHANGE) {
            const int row = list_->GetCurSel();
            if (row >= 0) SelectProfile(row);
        }
        return true;
    }
    if (fromRename) return false;
    if (Is(dropDown_, control)) {
        if (dropDown_->GetCheck()) {
            OpenDropDown();
        } else {
            CloseDropDown();
        }
        return true;
    }
    if (Is(newButton_, control)) NewProfile();
    else if (Is(deleteButton_, control)) DeleteProfile();
    else if (Is(nameButton_, control)) StartRename();
    else if (Is(menuButton_, control)) ShowProfileMenu();
    else if (Is(resetButton_, control)) ResetCurrentProfile();
    else if (Is(gameButton_, control)) ChooseGame();
    else if (Is(gameClearButton_, control)) ClearGame();
    else if (Is(tabs_[0], control)) ShowSubPage(SubPage::kButtons);
    else if (Is(tabs_[1], control)) ShowSubPage(SubPage::kPerformance);
    else if (Is(tabs_[2], control)) ShowSubPage(SubPage::kLighting);
    else return false;
    return true;
}

LRESULT CConfigPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGS_CHANGED) {
        ApplySettings(false);
        return 0;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}
