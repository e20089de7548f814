#include "macro_page.h"

#include <cstring>

#include "app_messages.h"
#include "debug_output.h"
#include "file_dialog.h"
#include "gdi_cache.h"
#include "key_codes.h"
#include "list_box_model.h"
#include "macro_library.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "program_folder.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_rect_win32.h"
#include "skin_resource.h"
#include "skin_scroll_bar.h"
#include "wide_text.h"

namespace {

enum MacroEntry {
    kMacroListEntry = 0,
    kDropDownEntry = 2,
    kNewEntry = 3,
    kDeleteEntry = 4,
    kMoreEntry = 5,
    kNameEntry = 7,
    kFirstModeEntry = 8,
    kRecordEntry = 11,
    kFixedBoxEntry = 12,
    kEditEntry = 14,
    kDeleteStepEntry = 15,
    kUpEntry = 16,
    kDownEntry = 17,
    kStepsEntry = 18,
    kInsertEntry = 19,
    kPanelEntry = 20,
    kRenameEntry = 21,
};
constexpr int kLabelEntries[3] = {22, 23, 24};
constexpr UINT kLabelTexts[3] = {option_text::kMacroLabel, option_text::kRecordingDelayLabel, option_text::kStepsLabel};

constexpr int kMacroListId = 4096;
constexpr int kStepsId = 4097;
constexpr int kFixedBoxId = 4012;
constexpr int kDelayDigits = 5;
// The macro bar's list without the border, as the skin draws the panel.
constexpr DWORD kStepsStyle = kSkinListStyle & ~WS_BORDER;
constexpr DWORD kFixedBoxStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE | ES_NUMBER;

constexpr UINT kTextRecord = option_text::kRecord;
constexpr UINT kTextStop = option_text::kStop;
constexpr UINT kTextInsert = option_text::kInsert;
constexpr UINT kModeTexts[3] = {option_text::kDelayAsTyped, option_text::kDelayFixed, option_text::kNoDelay};

constexpr COLORREF kLabelColor = RGB(100, 100, 100);

constexpr wchar_t kExportFilter[] = L"Macro(*.macro)\0*.macro\0";
constexpr wchar_t kImportFilter[] = L"Macro(*.macro)\0*.MACRO\0";

// Export and import both start on "config\.macro" in the program folder.
FileOffer MacroFileOffer() {
    return {kExportFilter, kImportFilter, (GetProgramFolder() / L"config" / L".macro").wstring(), L"macro"};
}

// The device code and transition of a mouse button message, if it is one.
struct MouseButton {
    uint8_t code = 0;
    bool release = false;
};
std::optional<MouseButton> MouseButtonOf(const MSG& m) {
    switch (m.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return MouseButton{MouseButtonDeviceCode(VK_LBUTTON), false};
        case WM_LBUTTONUP: return MouseButton{MouseButtonDeviceCode(VK_LBUTTON), true};
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: return MouseButton{MouseButtonDeviceCode(VK_RBUTTON), false};
        case WM_RBUTTONUP: return MouseButton{MouseButtonDeviceCode(VK_RBUTTON), true};
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: return MouseButton{MouseButtonDeviceCode(VK_MBUTTON), false};
        case WM_MBUTTONUP: return MouseButton{MouseButtonDeviceCode(VK_MBUTTON), true};
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK:
        case WM_XBUTTONUP: {
            const bool first = GET_XBUTTON_WPARAM(m.wParam) == XBUTTON1;
            return MouseButton{MouseButtonDeviceCode(first ? VK_XBUTTON1 : VK_XBUTTON2), m.message == WM_XBUTTONUP};
        }
        default: return std::nullopt;
    }
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

CMacroPage::CMacroPage(const OptionContext& context)
    : CSkinPage(skin_files::kMacros),
      context_(context),
      session_(context.Session()),
      model_(session_.macros(), SystemKeyboardLayout(), [this] { Persist(); }) {
    // The buttons know their macro by name: in every profile they follow a
    // new name, or go back to their defaults when it is deleted, instead of
    // losing their macro silently later.
    model_.SetRenameHandler([this](int position, std::u16string_view, std::u16string_view to) {
        session_.RenameMacroInProfiles(position, to);
    });
    model_.SetDeleteHandler([this](int position) { session_.ForgetMacroInProfiles(position); });
}

std::wstring CMacroPage::OptionText(UINT id) const { return context_.Text(id); }

CMacroPage::~CMacroPage() {
    filter_.Remove();
    hook_.Remove();
}

// ---- creation ----------------------------------------------------------------------

void CMacroPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    auto bitmap = SkinResourceBitmap(ScrollBitmapGrid::kResourceId, L"scrollbar_368.bmp");

    ConfigureBar();
    bar_.CreateList(hwnd(), skin);
    bar_.CreateButtons(hwnd(), skin, pictures);
    bar_.CreateRenameBox(hwnd(), skin);
    bar_.SetAccessibleName(OptionText(option_text::kMacroLabel));

    for (int i = 0; i < 3; ++i) {
        modeButtons_[i] = MakeButton(hwnd(), skin, kFirstModeEntry + i, pictures);
        if (!modeButtons_[i]) continue;
        modeButtons_[i]->SetText(OptionText(kModeTexts[i]));
        modeButtons_[i]->SetPageCaption(15, CaptionAlign::kCentredWrapped);
        Bind(modeButtons_[i], [this, i] {
            if (!model_.Recording()) SetMode(DelayModeFromNumber(i));
        });
    }
    CSkinButtonBase::JoinChoice({modeButtons_[0].get(), modeButtons_[1].get(), modeButtons_[2].get()});
    fixedDelayBox_ = std::make_unique<CBitmapEdit>();
    if (fixedDelayBox_->Create(hwnd(), skin.ReadEntry(kFixedBoxEntry).rect, kFixedBoxStyle, kFixedBoxId)) {
        fixedDelayBox_->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
        fixedDelayBox_->ApplyFont();
        fixedDelayBox_->SetLimit(kDelayDigits);
        fixedDelayBox_->SetText(L"50");
        fixedDelayBox_->SetAccessibleName(OptionText(option_text::kRecordingDelayLabel));
    } else {
        fixedDelayBox_.reset();
    }
    recordButton_ = MakeButton(hwnd(), skin, kRecordEntry, pictures);
    if (recordButton_) {
        recordButton_->SetText(OptionText(kTextRecord));
        recordButton_->SetPageCaption(16, CaptionAlign::kCentredWrapped);
        // How the keyboard gets out of a recording: every other key is recorded.
        const std::wstring tip = OptionText(option_text::kRecordTip);
        if (!tip.empty()) recordButton_->SetTooltipText(tip.c_str(), true);
    }
    Bind(recordButton_, [this] { ToggleRecording(); });

    editButton_ = MakeButton(hwnd(), skin, kEditEntry, pictures);
    Bind(editButton_, [this] { EditStep(); });
    deleteStepButton_ = MakeButton(hwnd(), skin, kDeleteStepEntry, pictures);
    Bind(deleteStepButton_, [this] {
        if (model_.DeleteStep()) ShowRows();
    });
    upButton_ = MakeButton(hwnd(), skin, kUpEntry, pictures);
    Bind(upButton_, [this] {
        if (model_.MoveStepUp()) ShowRows();
    });
    downButton_ = MakeButton(hwnd(), skin, kDownEntry, pictures);
    Bind(downButton_, [this] {
        if (model_.MoveStepDown()) ShowRows();
    });

    steps_ = std::make_unique<CSkinListBox>();
    if (steps_->Create(hwnd(), skin.ReadEntry(kStepsEntry).rect, kStepsId, kStepsStyle, ListBoxColors{})) {
        CSkinScrollBar::SkinList(steps_->hwnd(), bitmap);
        steps_->SetAccessibleName(OptionText(option_text::kStepsLabel));
    } else {
        steps_.reset();
    }

    insertButton_ = MakeButton(hwnd(), skin, kInsertEntry, pictures);
    if (insertButton_) {
        insertButton_->SetText(OptionText(kTextInsert));
        insertButton_->SetPageCaption(16, CaptionAlign::kCentredWrapped);
    }
    Bind(insertButton_, [this] { OpenInsertPanel(); });
    panelArea_ = skin.ReadEntry(kPanelEntry).rect;
    KeepScaled(panelArea_);
    panel_.Plan(hwnd(), panelArea_, [this] { return std::make_unique<CInsertPanel>(context_); });

    for (int i = 0; i < 3; ++i) {
        labels_[i] = ToRect(skin.ReadEntry(kLabelEntries[i]).rect);
        KeepScaled(labels_[i]);
    }

    SetMode(DelayMode::kFixed);
    model_.Select(session_.macros().empty() ? -1 : 0);
    ShowMacroList();
    ShowSelection();
}

void CMacroPage::OnDestroy() {
    // Whatever was recorded so far is kept, and the keyboard is given back.
    StopRecording();
    filter_.Remove();
    hook_.Remove();
    CSkinPage::OnDestroy();
}

// ---- persisting --------------------------------------------------------------------

void CMacroPage::Persist() {
    // The buttons play copies of their macros: they take the new steps (or
    // their defaults, when the macro is gone), the mouse gets the current
    // profile's, and then the library is written.
    session_.SyncMacrosInProfiles();
    if (buttonsChanged_) buttonsChanged_();
    context_.SettingsChangedNow();
    if (!session_.SaveMacros()) DebugOut(L"CMacroPage: the macro library could not be saved\n");
}

// ---- showing the model -------------------------------------------------------------

void CMacroPage::Refresh() {
    ShowMacroList();
    ShowSelection();
}

void CMacroPage::ShowMacroList() {
    CSkinListBox* list = bar_.List();
    if (!list) return;
    list->ResetContent();
    for (const auto& macro : session_.macros()) list->AddString(Wide(FieldText(macro->name)), 0);
    list->SetCurSel(model_.SelectedPosition());
}

void CMacroPage::ShowName() { bar_.ShowName(Wide(model_.SelectedName())); }

void CMacroPage::ShowRows() {
    if (!steps_) return;
    SendMessageW(steps_->hwnd(), WM_SETREDRAW, FALSE, 0);
    steps_->ResetContent();
    for (const EventRow& row : model_.Rows()) steps_->AddString(Wide(row.text), row.itemValue);
    steps_->SetCurSel(model_.SelectedRow().value_or(-1));
    SendMessageW(steps_->hwnd(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(steps_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CMacroPage::ShowSelection() {
    ShowName();
    ShowRows();
    if (CSkinListBox* list = bar_.List()) list->SetCurSel(model_.SelectedPosition());
}

// ---- the macro list ----------------------------------------------------------------

void CMacroPage::ConfigureBar() {
    const CItemBar::Layout layout{.dropDownEntry = kDropDownEntry, .newEntry = kNewEntry, .deleteEntry = kDeleteEntry,
                                  .moreEntry = kMoreEntry, .nameEntry = kNameEntry, .listEntry = kMacroListEntry,
                                  .renameEntry = kRenameEntry, .listId = kMacroListId};
    CItemBar::Handlers handlers;
    handlers.beforeClick = [this](HWND button) { BeforeClick(button); };
    handlers.fillList = [this] { ShowMacroList(); };
    handlers.picked = [this](int row) { PickMacro(row); };
    handlers.added = [this] {
        if (model_.Recording()) StopRecording();
        model_.NewMacro();
        ShowMacroList();
        ShowSelection();
    };
    handlers.deleted = [this] {
        if (model_.Recording()) StopRecording();
        if (model_.DeleteMacro()) {
            ShowMacroList();
            ShowSelection();
        }
    };
    handlers.renameBegins = [this] { return model_.BeginRename(); };
    handlers.renameEnds = [this](const std::u16string& typed) {
        if (model_.RenameSelected(typed)) ShowMacroList();
        ShowName();
    };
    handlers.currentName = [this] { return model_.SelectedName(); };
    handlers.text = [this](UINT id) { return OptionText(id); };
    bar_.Configure(layout, std::move(handlers));
    bar_.AddMenuItem(kItemBarCopy, [this] {
        if (model_.CopyMacro() < 0) return;
        ShowMacroList();
        ShowSelection();
    });
    bar_.AddMenuItem(kItemBarImport, [this] { ImportMacro(); });
    bar_.AddMenuItem(kItemBarExport, [this] { ExportMacro(); });
}

void CMacroPage::PickMacro(int row) {
    if (model_.Recording()) StopRecording();
    model_.Select(row);
    bar_.CloseDropDown();
    ShowSelection();
}

void CMacroPage::CancelRename() { bar_.CancelRename(); }

void CMacroPage::CloseTransient() { bar_.CloseTransients(); }

bool CMacroPage::CloseTransients() { return bar_.CloseTransients(); }

void CMacroPage::OnBackgroundPress(POINT) { CloseTransient(); }

void CMacroPage::ExportMacro() {
    const MacroRecord* selected = model_.Selected();
    if (!selected) return;
    const std::wstring path = ChooseFile(GetAncestor(hwnd(), GA_ROOT), FileDialog::kSave, MacroFileOffer());
    if (path.empty()) return;
    std::string error;
    if (!::ExportMacro(*selected, std::filesystem::path(path), &error))
        DebugOut(L"CMacroPage: the macro could not be exported\n");
}

void CMacroPage::ImportMacro() {
    const std::wstring path = ChooseFile(GetAncestor(hwnd(), GA_ROOT), FileDialog::kOpen, MacroFileOffer());
    if (path.empty()) return;
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    if (!::ImportMacro(std::filesystem::path(path), *record)) {
        DebugOut(L"CMacroPage: the chosen file could not be read\n");
        return;
    }
    model_.AddImportedMacro(std::move(record));
    ShowMacroList();
    ShowSelection();
}

void CMacroPage::SetMode(DelayMode mode) {
    mode_ = mode;
    for (int i = 0; i < 3; ++i)
        if (modeButtons_[i]) modeButtons_[i]->SetCheck(i == static_cast<int>(mode) ? 1 : 0);
    if (fixedDelayBox_) EnableWindow(fixedDelayBox_->hwnd(), mode == DelayMode::kFixed && !model_.InsertPanelOpen());
}

// ---- recording ---------------------------------------------------------------------

HWND CMacroPage::ActiveRecordButton() const {
    if (model_.InsertRecording() || model_.InsertPanelOpen()) {
        CInsertPanel* panel = panel_.Built();
        return panel ? panel->RecordButton() : nullptr;
    }
    return recordButton_ ? recordButton_->hwnd() : nullptr;
}

void CMacroPage::ToggleRecording() {
    if (model_.Recording()) {
        model_.StopRecording();
        AfterRecordingStopped();
        return;
    }
    const bool hadMacro = model_.Selected() != nullptr;
    const std::wstring fixed = fixedDelayBox_ ? fixedDelayBox_->Text() : std::wstring(L"50");
    if (!model_.StartRecording(mode_, Narrow16(fixed))) return;
    if (!hadMacro) {
        ShowMacroList();
        ShowName();
    }
    if (!BeginRecordingUi()) return;
    if (recordButton_) {
        recordButton_->SetText(OptionText(kTextStop));
        recordButton_->SetCheck(1);
        InvalidateRect(recordButton_->hwnd(), nullptr, FALSE);
    }
    ShowRows();
}

bool CMacroPage::BeginRecordingUi() {
    if (!hook_.Install(hwnd())) {
        // Without the hook no key could be recorded; better to say no at once.
        DebugOut(L"CMacroPage: the keyboard hook could not be installed; not recording\n");
        model_.StopRecording();
        AfterRecordingStopped();
        return false;
    }
    if (steps_) EnableWindow(steps_->hwnd(), FALSE);
    SetFocus(hwnd());
    return true;
}

void CMacroPage::AfterRecordingStopped() {
    hook_.Remove();
    model_.SetPointerOverRecordButton(false);
    if (recordButton_) {
        recordButton_->SetText(OptionText(kTextRecord));
        recordButton_->SetCheck(0);
        InvalidateRect(recordButton_->hwnd(), nullptr, FALSE);
    }
    if (CInsertPanel* panel = panel_.Built()) panel->ShowStopped();
    if (steps_) EnableWindow(steps_->hwnd(), !model_.InsertPanelOpen());
    ShowRows();
    // A recording takes the focus off the controls (the page's dialog manager
    // hands it on to one of them); a recording ended from the keyboard goes on
    // from the record button that started it.
    if (HasFocusWithin(hwnd())) {
        HWND record = ActiveRecordButton();
        if (record && IsWindowVisible(record) && IsWindowEnabled(record)) FocusControl(record);
    }
}

void CMacroPage::StopRecording() {
    if (model_.Recording()) model_.StopRecording();
    if (hook_.Installed()) AfterRecordingStopped();
}

void CMacroPage::OnHookKey(WPARAM virtualKey, LPARAM flags) {
    // One time stamp per message, taken even when the message is not used.
    DWORD time = 0;
    if (!hook_.TakeEventTime(time)) time = static_cast<DWORD>(GetMessageTime());
    if (!model_.Recording()) return;
    const MacroEditModel::InputResult result =
        model_.OnRecordedKey(static_cast<uint32_t>(virtualKey), (flags & kHookKeyReleased) != 0, time);
    ShowRows();
    if (result.stopped) AfterRecordingStopped();
}

// ---- step editing ------------------------------------------------------------------

void CMacroPage::EditStep() {
    if (!steps_) return;
    if (model_.EditingStep()) {
        if (steps_->Editing()) {
            // The step is stored (and sent) before the editor goes: the
            // refill that follows closes it anyway.
            FinishStepEdit(steps_->EditText());
            return;
        }
        // The editor was closed with Esc: that edit is over.
        model_.AbandonStepEdit();
    }
    if (!model_.BeginStepEdit()) return;
    if (!steps_->StartEdit()) model_.AbandonStepEdit();
}

void CMacroPage::FinishStepEdit(const std::wstring& typed) {
    if (!model_.EditingStep()) return;
    model_.FinishStepEdit(Narrow16(typed));
    ShowRows();
}

// ---- the insert panel --------------------------------------------------------------

void CMacroPage::EnableControls(bool enable) {
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (panel_.Built() && child == panel_.Built()->hwnd()) continue;
        EnableWindow(child, enable);
    }
    if (enable && fixedDelayBox_) EnableWindow(fixedDelayBox_->hwnd(), mode_ == DelayMode::kFixed);
}

void CMacroPage::OpenInsertPanel() {
    CInsertPanel* panel = panel_.Build();
    if (!panel || !model_.OpenInsertPanel()) return;
    CloseTransient();
    if (steps_ && steps_->Editing()) steps_->CancelEdit();
    const bool focused = HasFocusWithin(hwnd());
    EnableControls(false);
    RECT area{};
    GetWindowRect(panel->hwnd(), &area);
    underPanel_.clear();
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc{}, overlap{};
        if (child == panel->hwnd() || !IsWindowVisible(child) || !GetWindowRect(child, &rc)) continue;
        if (!IntersectRect(&overlap, &rc, &area)) continue;
        underPanel_.push_back(child);
        ShowWindow(child, SW_HIDE);
    }
    panel->Open();
    // The control that opened the panel is disabled under it now: the
    // keyboard goes on inside the panel.
    if (focused) FocusControl(GetNextDlgTabItem(panel->hwnd(), nullptr, FALSE));
}

bool CMacroPage::HasFocusWithin(HWND window) const {
    const HWND focus = GetFocus();
    return window && focus && (focus == window || IsChild(window, focus));
}

void CMacroPage::FocusControl(HWND control) {
    HWND top = GetAncestor(hwnd(), GA_ROOT);
    if (control && top && top != hwnd()) SendMessageW(top, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

bool CMacroPage::CancelInsertPanel() {
    if (!model_.InsertPanelOpen()) return false;
    model_.CancelInsertPanel();
    HideInsertPanel();
    return true;
}

void CMacroPage::HideInsertPanel() {
    if (hook_.Installed()) AfterRecordingStopped();
    const bool focused = panel_.Built() && HasFocusWithin(panel_.Built()->hwnd());
    panel_.Show(false);
    for (HWND child : underPanel_)
        if (IsWindow(child)) ShowWindow(child, SW_SHOW);
    underPanel_.clear();
    EnableControls(true);
    // The page's own controls lay under the panel.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ShowRows();
    // Back where the panel was opened, when the keyboard was in it.
    if (focused && insertButton_) FocusControl(insertButton_->hwnd());
}

// ---- messages ----------------------------------------------------------------------

void CMacroPage::Bind(const std::unique_ptr<CSkinButton>& button, std::function<void()> clicked) {
    if (!button) return;
    button->onClicked = [this, window = button->hwnd(), clicked = std::move(clicked)] {
        BeforeClick(window);
        clicked();
    };
}

void CMacroPage::BeforeClick(HWND button) {
    bar_.CloseFor(button);
    // A step being edited ends when anything else is pressed, except its own button.
    if (model_.EditingStep() && !(editButton_ && button == editButton_->hwnd())) {
        if (steps_ && steps_->Editing()) steps_->CancelEdit();
        model_.AbandonStepEdit();
    }
}

bool CMacroPage::OnDialogCommand(WORD id, WORD code, HWND control) {
    // The buttons' clicks went to their own handlers; what comes here is the
    // lists', the boxes' and the more-menu's.
    if (!control && (id == IDOK || id == IDCANCEL)) return true;
    const bool fromFixedBox = fixedDelayBox_ && control == fixedDelayBox_->hwnd();
    if (bar_.IsRenameBox(control) || fromFixedBox) return false;
    bar_.CloseFor(control);
    if (bar_.OnCommand(id, code, control)) return true;
    if (steps_ && control && control == steps_->hwnd()) {
        if (code == LBN_SELCHANGE) {
            const int row = steps_->GetCurSel();
            model_.SelectRow(row >= 0 ? std::optional<int>(row) : std::nullopt);
        }
        return true;
    }
    return false;
}

LRESULT CMacroPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOOK_KEY:
            OnHookKey(wParam, lParam);
            return 0;
        case ListRowEditor::kRowEditedMessage:
            if (lParam == kStepsId && steps_ && model_.EditingStep())
                FinishStepEdit(steps_->Text(static_cast<int>(wParam)));
            return 0;
        case WM_INSERT_CANCEL:
            CancelInsertPanel();
            return 0;
        case WM_INSERT_CLOSE:
            model_.CloseInsertPanel();
            HideInsertPanel();
            return 0;
        case WM_INSERT_STOP:
            if (model_.InsertRecording()) model_.StopRecording();
            AfterRecordingStopped();
            return 0;
        case WM_INSERT_RECORD: {
            const auto side = HIWORD(wParam) ? InsertSide::kAfter : InsertSide::kBefore;
            if (model_.StartInsertRecording(side, DelayModeFromNumber(LOWORD(wParam)), static_cast<uint32_t>(lParam))) {
                BeginRecordingUi();
            } else if (CInsertPanel* panel = panel_.Built()) {
                panel->ShowStopped();
            }
            return 0;
        }
        case WM_INSERT_DELAY:
            model_.InsertDelay(wParam ? InsertSide::kAfter : InsertSide::kBefore, static_cast<uint32_t>(lParam));
            HideInsertPanel();
            return 0;
        case WM_SHOWWINDOW:
            // Shown or hidden by the tabs (not by the main window minimising).
            if (lParam == 0) {
                if (wParam) {
                    filter_.Install([this](const MSG& m) { return FilterMessage(m); });
                } else {
                    StopRecording();
                    filter_.Remove();
                }
            }
            break;
        default:
            break;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}

bool CMacroPage::FilterMessage(const MSG& m) {
    if (!hwnd()) return false;
    if (model_.Recording()) {
        if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
            const HWND record = ActiveRecordButton();
            model_.SetPointerOverRecordButton(record && m.hwnd == record);
        }
        if (const std::optional<MouseButton> button = MouseButtonOf(m)) {
            const MacroEditModel::InputResult result =
                model_.OnRecordedMouseButton(button->code, button->release, static_cast<uint32_t>(m.time));
            if (result.consumed) ShowRows();
            if (result.stopped) AfterRecordingStopped();
            return result.consumed;
        }
        // Keys reach the page only from the recorder's hook; none may operate it.
        return IsKeyMessage(m.message) && (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd));
    }
    if (IsKeyMessage(m.message) && (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd))) return FilterKey(m);
    return false;
}

bool CMacroPage::FilterKey(const MSG& m) {
    const auto key = static_cast<UINT>(m.wParam);
    const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
    const bool endKey = key == VK_RETURN || key == VK_ESCAPE;
    if (model_.EditingStep() && steps_ && steps_->Editing()) {
        if (endKey) {
            if (key == VK_ESCAPE && down) model_.AbandonStepEdit();
            return false;  // the list's editor ends the edit
        }
        if (!model_.EditingKeyStep()) return false;  // a delay is typed
        // A key step takes the next key pressed, as it is, instead of typing it.
        if (down) {
            if (const auto name = model_.CaptureEditKey(key, static_cast<uint32_t>(m.lParam)))
                steps_->SetEditText(Wide(*name));
        }
        return true;
    }
    if (model_.Renaming()) {
        // Enter keeps the typed name, Esc the old one; a blank is part of a name.
        if (endKey && down) {
            if (key == VK_RETURN) bar_.FinishRename();
            else bar_.CancelRename();
        }
        return endKey;
    }
    // Elsewhere Space and Enter press the focused button and Esc closes the
    // open drop-down, else Option, as on the other pages: the main window
    // decides. Only a box would keep Enter and Esc to itself (a multi-line
    // edit hands Esc to its page as a close, which the page ignores), so
    // there Enter does nothing and Esc goes to the window as it would from a
    // button. (Their WM_CHAR codes are the same numbers as their virtual keys.)
    const HWND focus = GetFocus();
    const bool inBox = focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
    if (!endKey || !inBox) return false;
    if (key == VK_ESCAPE && m.message == WM_KEYDOWN)
        if (HWND top = GetAncestor(hwnd(), GA_ROOT); top && top != hwnd()) PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
    return true;
}

void CMacroPage::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, SkinFont(16));
    SetTextColor(dc, kLabelColor);
    for (int i = 0; i < 3; ++i)
        DrawSkinText(dc, OptionText(kLabelTexts[i]), labels_[i], DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
}
