#include "insert_panel.h"

#include "debug_output.h"
#include "gdi_cache.h"
#include "macro_edit_model.h"
#include "option_context.h"
#include "option_text_ids.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "wide_text.h"

namespace {

enum PanelEntry { kHeadingEntry = 1, kChoiceEntry = 2, kSubPanelEntry = 3, kApplyEntry = 4, kCancelEntry = 5 };
enum DelayEntry { kDelayLabelEntry = 1, kDelayBoxEntry = 2, kUnitLabelEntry = 3 };
enum RecordEntry { kFirstModeEntry = 8, kRecordEntry = 11, kFixedBoxEntry = 12 };

constexpr int kDelayBoxId = 4011;
constexpr int kFixedBoxId = 4012;
constexpr int kDelayDigits = 5;
// Visible, digits only, centred by the multi-line trick the skinned boxes use.
constexpr DWORD kDelayBoxStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE | ES_NUMBER;

constexpr UINT kChoiceCommands[4] = {1001, 1002, 1003, 1004};
constexpr UINT kChoiceTexts[4] = {option_text::kDelayBeforeStep, option_text::kDelayAfterStep,
                                  option_text::kRecordBeforeStep, option_text::kRecordAfterStep};
constexpr UINT kTextHeading = option_text::kInsert;
constexpr UINT kTextCancel = option_text::kInsertCancel;
constexpr UINT kTextDelay = option_text::kDelayLabel;
constexpr UINT kTextMilliseconds = option_text::kMilliseconds;
constexpr UINT kTextKeep = option_text::kOk;
constexpr UINT kTextInsert = option_text::kInsertDelay;
constexpr UINT kTextRecord = option_text::kRecord;
constexpr UINT kTextStop = option_text::kStop;
constexpr UINT kModeTexts[3] = {option_text::kDelayAsTyped, option_text::kDelayFixed, option_text::kNoDelay};

constexpr COLORREF kLabelColor = RGB(100, 100, 100);
constexpr COLORREF kHeadingColor = RGB(220, 220, 220);

bool IsDelayChoice(int choice) { return choice < 2; }

std::unique_ptr<CBitmapEdit> MakeDelayBox(HWND parent, const SkinRect& rect, int id) {
    auto box = std::make_unique<CBitmapEdit>();
    if (!box->Create(parent, rect, kDelayBoxStyle, id)) return nullptr;
    box->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
    box->ApplyFont();
    box->SetLimit(kDelayDigits);
    box->SetText(L"50");
    return box;
}

}  // namespace

// ---- the delay sub-panel ------------------------------------------------------------

class CInsertPanel::DelayPanel : public CSkinPage {
public:
    explicit DelayPanel(const OptionContext& context) : CSkinPage(skin_files::kInsertMacro1), context_(context) {}
    uint16_t Value() const { return box_ ? DelayBoxValue(Narrow16(box_->Text())) : kDefaultBoxDelay; }

protected:
    DragMode Drag() const override { return DragMode::kNone; }
    void CreateControls(const SkinDescription& skin, const SkinPictures&) override {
        box_ = MakeDelayBox(hwnd(), skin.ReadEntry(kDelayBoxEntry).rect, kDelayBoxId);
        if (box_) box_->SetAccessibleName(context_.Text(kTextDelay));
        label_ = ToRect(skin.ReadEntry(kDelayLabelEntry).rect);
        unit_ = ToRect(skin.ReadEntry(kUnitLabelEntry).rect);
        KeepScaled(label_);
        KeepScaled(unit_);
    }
    void PaintOver(HDC dc, const RECT&) override {
        SelectGuard font(dc, SkinFont(15));
        SetTextColor(dc, kLabelColor);
        DrawSkinText(dc, context_.Text(kTextDelay), label_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
        DrawSkinText(dc, context_.Text(kTextMilliseconds), unit_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
    }

private:
    const OptionContext& context_;
    std::unique_ptr<CBitmapEdit> box_;
    RECT label_{};
    RECT unit_{};
};

// ---- the recording sub-panel --------------------------------------------------------

class CInsertPanel::RecordPanel : public CSkinPage {
public:
    explicit RecordPanel(CInsertPanel& panel) : CSkinPage(skin_files::kInsertMacro2), panel_(panel) {}

    HWND RecordButton() const { return record_ ? record_->hwnd() : nullptr; }
    bool Recording() const { return recording_; }

    void ShowStopped() {
        recording_ = false;
        if (record_) {
            record_->SetText(panel_.context_.Text(kTextRecord));
            record_->SetCheck(0);
            InvalidateRect(record_->hwnd(), nullptr, FALSE);
        }
        EnableModes();
    }

protected:
    DragMode Drag() const override { return DragMode::kNone; }

    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override {
        for (int i = 0; i < 3; ++i) {
            modes_[i] = MakeButton(hwnd(), skin, kFirstModeEntry + i, pictures);
            if (!modes_[i]) continue;
            modes_[i]->SetText(panel_.context_.Text(kModeTexts[i]));
            modes_[i]->SetPageCaption(15, CaptionAlign::kCentredWrapped);
        }
        record_ = MakeButton(hwnd(), skin, kRecordEntry, pictures);
        if (record_) {
            record_->SetText(panel_.context_.Text(kTextRecord));
            record_->SetPageCaption(16, CaptionAlign::kCentredWrapped);
            const std::wstring tip = panel_.context_.Text(option_text::kRecordTip);
            if (!tip.empty()) record_->SetTooltipText(tip.c_str(), true);
        }
        box_ = MakeDelayBox(hwnd(), skin.ReadEntry(kFixedBoxEntry).rect, kFixedBoxId);
        if (box_) box_->SetAccessibleName(panel_.context_.Text(option_text::kRecordingDelayLabel));
        for (int i = 0; i < 3; ++i)
            if (modes_[i])
                modes_[i]->onClicked = [this, mode = DelayModeFromNumber(i)] {
                    if (!recording_) SelectMode(mode);
                };
        CSkinButtonBase::JoinChoice({modes_[0].get(), modes_[1].get(), modes_[2].get()});
        if (record_) record_->onClicked = [this] { ToggleRecording(); };
        SelectMode(DelayMode::kFixed);
    }

private:
    uint16_t FixedDelay() const { return box_ ? DelayBoxValue(Narrow16(box_->Text())) : kDefaultBoxDelay; }

    void SelectMode(DelayMode mode) {
        mode_ = mode;
        for (int i = 0; i < 3; ++i)
            if (modes_[i]) modes_[i]->SetCheck(i == static_cast<int>(mode) ? 1 : 0);
        EnableModes();
    }

    void EnableModes() {
        for (int i = 0; i < 3; ++i)
            if (modes_[i]) EnableWindow(modes_[i]->hwnd(), !recording_ || i == static_cast<int>(mode_));
        if (box_) EnableWindow(box_->hwnd(), !recording_ && mode_ == DelayMode::kFixed);
    }

    void ToggleRecording() {
        if (!recording_) {
            recording_ = true;
            if (record_) {
                record_->SetText(panel_.context_.Text(kTextStop));
                record_->SetCheck(1);
            }
            EnableModes();
            const WPARAM side = panel_.Choice() == 3 ? 1 : 0;
            panel_.PostToPage(WM_INSERT_RECORD, MAKEWPARAM(static_cast<WORD>(mode_), side), FixedDelay());
        } else {
            ShowStopped();
            panel_.PostToPage(WM_INSERT_STOP, static_cast<WPARAM>(mode_), FixedDelay());
        }
    }

    CInsertPanel& panel_;
    std::unique_ptr<CSkinButton> modes_[3];
    std::unique_ptr<CSkinButton> record_;
    std::unique_ptr<CBitmapEdit> box_;
    DelayMode mode_ = DelayMode::kFixed;
    bool recording_ = false;
};

// ---- the panel ----------------------------------------------------------------------

CInsertPanel::CInsertPanel(const OptionContext& context) : CSkinPage(skin_files::kInsertMacro), context_(context) {}
CInsertPanel::~CInsertPanel() = default;

void CInsertPanel::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    heading_ = ToRect(skin.ReadEntry(kHeadingEntry).rect);
    subPanelArea_ = skin.ReadEntry(kSubPanelEntry).rect;
    KeepScaled(heading_);
    KeepScaled(subPanelArea_);
    choiceButton_ = MakeButton(hwnd(), skin, kChoiceEntry, pictures);
    if (choiceButton_) choiceButton_->SetPageCaption(15, CaptionAlign::kLeft);
    applyButton_ = MakeButton(hwnd(), skin, kApplyEntry, pictures);
    if (applyButton_) applyButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    cancelButton_ = MakeButton(hwnd(), skin, kCancelEntry, pictures);
    if (cancelButton_) {
        cancelButton_->SetText(context_.Text(kTextCancel));
        cancelButton_->SetPageCaption(15, CaptionAlign::kCentredWrapped);
    }
    choice_ = 0;
    if (choiceButton_) {
        choiceButton_->SetText(context_.Text(kChoiceTexts[0]));
        choiceButton_->onClicked = [this] { ShowChoiceMenu(); };
    }
    if (applyButton_) {
        applyButton_->SetText(context_.Text(kTextInsert));
        applyButton_->onClicked = [this] { Apply(); };
    }
    if (cancelButton_) cancelButton_->onClicked = [this] { Cancel(); };
}

void CInsertPanel::Open() {
    if (!delayPanel_) {
        delayPanel_ = std::make_unique<DelayPanel>(context_);
        if (!delayPanel_->CreateAt(hwnd(), subPanelArea_)) delayPanel_.reset();
        if (delayPanel_ && IsDelayChoice(choice_)) ShowWindow(delayPanel_->hwnd(), SW_SHOW);
    }
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CInsertPanel::ShowStopped() {
    if (recordPanel_) recordPanel_->ShowStopped();
}

HWND CInsertPanel::RecordButton() const { return recordPanel_ ? recordPanel_->RecordButton() : nullptr; }

void CInsertPanel::PostToPage(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (HWND page = GetParent(hwnd())) PostMessageW(page, message, wParam, lParam);
}

void CInsertPanel::Choose(int choice) {
    if (choice < 0 || choice > 3) return;
    // A recording the panel runs belongs to the choice it was started under.
    if (recordPanel_ && recordPanel_->Recording()) return;
    choice_ = choice;
    const bool delay = IsDelayChoice(choice);
    if (!delay && !recordPanel_) {
        recordPanel_ = std::make_unique<RecordPanel>(*this);
        if (!recordPanel_->CreateAt(hwnd(), subPanelArea_)) recordPanel_.reset();
    }
    if (delayPanel_) ShowWindow(delayPanel_->hwnd(), delay ? SW_SHOW : SW_HIDE);
    if (recordPanel_) ShowWindow(recordPanel_->hwnd(), delay ? SW_HIDE : SW_SHOW);
    if (choiceButton_) {
        choiceButton_->SetText(context_.Text(kChoiceTexts[choice]));
        InvalidateRect(choiceButton_->hwnd(), nullptr, FALSE);
    }
    if (applyButton_) {
        applyButton_->SetText(context_.Text(delay ? kTextInsert : kTextKeep));
        InvalidateRect(applyButton_->hwnd(), nullptr, FALSE);
    }
}

void CInsertPanel::ShowChoiceMenu() {
    if (!choiceButton_) return;
    CSkinPopupMenu menu(SkinFont(15, 0, FW_NORMAL));
    for (int i = 0; i < 4; ++i) menu.AddItem(kChoiceCommands[i], context_.Text(kChoiceTexts[i]));
    menu.SetWidth(172);
    menu.TrackUnder(hwnd(), *choiceButton_);
}

void CInsertPanel::Apply() {
    if (IsDelayChoice(choice_)) {
        const uint16_t delay = delayPanel_ ? delayPanel_->Value() : kDefaultBoxDelay;
        PostToPage(WM_INSERT_DELAY, static_cast<WPARAM>(choice_), delay);
    } else {
        if (recordPanel_) recordPanel_->ShowStopped();
        PostToPage(WM_INSERT_CLOSE, 0, 0);
    }
}

void CInsertPanel::Cancel() {
    if (recordPanel_) recordPanel_->ShowStopped();
    PostToPage(WM_INSERT_CANCEL, 0, 0);
}

bool CInsertPanel::OnDialogCommand(WORD id, WORD, HWND control) {
    // The buttons' clicks went to their own handlers; what comes here is the
    // choice menu's.
    if (control) return false;
    for (int i = 0; i < 4; ++i) {
        if (id == kChoiceCommands[i]) {
            Choose(i);
            return true;
        }
    }
    return false;
}

void CInsertPanel::PaintOver(HDC dc, const RECT&) {
    SelectGuard font(dc, SkinFont(16));
    SetTextColor(dc, kHeadingColor);
    DrawSkinText(dc, context_.Text(kTextHeading), heading_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
}
