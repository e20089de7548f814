#include "assign_pages.h"

#include <commdlg.h>
#include <shlobj.h>

#include "debug_output.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "option_context.h"
#include "option_text_ids.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "skin_rect_win32.h"
#include "skin_resource.h"
#include "skin_scale.h"
#include "skin_scroll_bar.h"
#include "wide_text.h"

namespace {

constexpr int kMacroListId = 4112;
constexpr int kBoxId = 4013;
constexpr DWORD kListStyle = kSkinListStyle;
constexpr DWORD kBoxStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE;
constexpr int kMenuWidth = 297;

constexpr UINT kTextProgram = option_text::kLaunchProgram;
constexpr UINT kTextCommand = option_text::kLaunchCommand;
constexpr UINT kTextChooseProgram = option_text::kChooseProgram;

constexpr COLORREF kLabelColor = RGB(100, 100, 100);
constexpr COLORREF kCountFrame = RGB(128, 21, 153);  // 0x991580
constexpr COLORREF kDefaultCaption = RGB(220, 214, 232);

const char16_t* SkinOf(uint8_t functionClass) {
    static const std::u16string files[9] = {
        u"skin_SetDefault.ini", u"skin_setKey.ini",    u"skin_setMouse.ini",    u"skin_setDPI.ini",
        u"skin_setMacro.ini",   u"skin_setLaunch.ini", u"skin_setMedia.ini",    u"skin_setShortcut.ini",
        u"skin_SetBlock.ini"};
    return files[functionClass >= 1 && functionClass <= 9 ? functionClass - 1 : 0].c_str();
}

// The label texts of a page by its entries 1, 4 and 6 (0: none).
struct PageLabels {
    UINT texts[3];
};
PageLabels LabelsOf(uint8_t functionClass) {
    switch (functionClass) {
        case kClassKeyboardKey: return {{option_text::kPressKeyLabel, 0, 0}};
        case kClassMouseFunction: return {{option_text::kMouseFunctionLabel, 0, 0}};
        case kClassDpiFunction: return {{option_text::kDpiFunctionLabel, 0, 0}};
        case kClassMacro: return {{option_text::kMacroChoiceLabel, option_text::kRepeatLabel, option_text::kTimesLabel}};
        case kClassLaunch: return {{option_text::kProgramOrCommandLabel, 0, 0}};
        case kClassMedia: return {{option_text::kMediaFunctionLabel, 0, 0}};
        case kClassShortcut: return {{option_text::kShortcutLabel, 0, 0}};
        default: return {{0, 0, 0}};
    }
}

std::wstring CaptionText(const OptionContext& context, const ButtonAssignment& record) {
    const AssignmentCaption caption = CaptionOf(record, SystemKeyboardLayout());
    return caption.textId ? context.Text(static_cast<UINT>(caption.textId)) : Wide(caption.text);
}

bool IsMenuPage(uint8_t functionClass) { return !assign::MenuOf(functionClass).empty(); }

}  // namespace

AssignPage::AssignPage(uint8_t functionClass, assign::AssignModel& model, const MacroLibrary& library,
                       const OptionContext& context)
    : CSkinPage(skin_template::kView, SkinOf(functionClass)), class_(functionClass), model_(model), library_(library), context_(context) {}

std::wstring AssignPage::OptionText(UINT id) const { return context_.Text(id); }
std::wstring AssignPage::CaptionText(const ButtonAssignment& record) const { return ::CaptionText(context_, record); }

AssignPage::~AssignPage() { hook_.Remove(); }

std::unique_ptr<CBitmapEdit> AssignPage::MakeBox(const SkinDescription& skin, int entry, int id, DWORD extraStyle) {
    auto box = std::make_unique<CBitmapEdit>();
    if (!box->Create(hwnd(), skin.ReadEntry(entry).rect, kBoxStyle | extraStyle, id)) return nullptr;
    box->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
    box->ApplyFont();
    return box;
}

void AssignPage::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    const int labelEntries[3] = {1, 4, 6};
    for (int i = 0; i < 3; ++i) {
        labels_[i] = ToRect(skin.ReadEntry(labelEntries[i]).rect);
        KeepScaled(labels_[i]);
    }
    switch (class_) {
        case kClassDefault:
            defaultCaption_ = ToRect(skin.ReadEntry(1).rect);
            KeepScaled(defaultCaption_);
            break;
        case kClassKeyboardKey:
            box_ = MakeBox(skin, 2, kBoxId, ES_READONLY);
            if (box_) {
                box_->SetAccessibleName(OptionText(option_text::kPressKeyLabel));
                const std::wstring tip = OptionText(option_text::kPressKeyTip);
                if (!tip.empty()) box_->SetTooltipText(tip.c_str());
            }
            break;
        case kClassMacro: {
            choice_ = MakeButton(hwnd(), skin, 2, pictures);
            if (choice_) {
                choice_->SetCheckMode(true);
                choice_->SetPageCaption(15, CaptionAlign::kLeft);
                choice_->onClicked = [this] {
                    if (choice_->GetCheck()) OpenMacroList();
                    else CloseDropDown();
                };
            }
            repeatButton_ = MakeButton(hwnd(), skin, 5, pictures);
            if (repeatButton_) {
                repeatButton_->SetPageCaption(15, CaptionAlign::kLeft);
                repeatButton_->onClicked = [this] { ShowMenu(*repeatButton_, kMenuWidth, 14); };
            }
            box_ = MakeBox(skin, 7, kBoxId, ES_NUMBER);
            if (box_) box_->SetLimit(3);
            if (box_) box_->SetAccessibleName(OptionText(option_text::kTimesLabel));
            const RECT count = ToRect(skin.ReadEntry(7).rect);
            countFrame_ = RECT{count.left - S(3), count.top - S(3), count.right + S(3), count.bottom + S(3)};
            KeepScaled(countFrame_);
            macroList_ = std::make_unique<CSkinListBox>();
            if (macroList_->Create(hwnd(), skin.ReadEntry(3).rect, kMacroListId, kListStyle, ListBoxColors{})) {
                auto bitmap = SkinResourceBitmap(ScrollBitmapGrid::kResourceId, L"scrollbar_368.bmp");
                CSkinScrollBar::SkinList(macroList_->hwnd(), bitmap);
                macroList_->SetAccessibleName(OptionText(option_text::kMacroChoiceLabel));
                macroList_->SetDropDown(true);
                CSkinScrollBar::HideSkinned(macroList_->hwnd());
            } else {
                macroList_.reset();
            }
            break;
        }
        case kClassLaunch:
            programChoice_ = MakeButton(hwnd(), skin, 2, pictures);
            pathButton_ = MakeButton(hwnd(), skin, 3, pictures);
            commandChoice_ = MakeButton(hwnd(), skin, 4, pictures);
            for (auto* button : {programChoice_.get(), commandChoice_.get()}) {
                if (button) button->SetPageCaption(15, CaptionAlign::kCentredWrapped);
            }
            if (programChoice_) programChoice_->SetText(OptionText(kTextProgram));
            if (commandChoice_) commandChoice_->SetText(OptionText(kTextCommand));
            if (pathButton_) pathButton_->SetPageCaption(15, CaptionAlign::kLeft);
            if (programChoice_) {
                programChoice_->onClicked = [this] {
                    model_.ChooseProgram();
                    ShowLaunchChoice();
                };
            }
            if (commandChoice_) {
                commandChoice_->onClicked = [this] {
                    model_.ChooseCommand();
                    ShowLaunchChoice();
                    if (box_) SetFocus(box_->hwnd());
                };
            }
            if (pathButton_) pathButton_->onClicked = [this] { ChooseProgramFile(); };
            box_ = MakeBox(skin, 5, kBoxId, 0);
            if (box_) box_->SetLimit(kProgramFieldUnits - 1);
            if (box_) box_->SetAccessibleName(OptionText(option_text::kProgramOrCommandLabel));
            break;
        default:
            if (IsMenuPage(class_)) {
                choice_ = MakeButton(hwnd(), skin, 2, pictures);
                if (choice_) {
                    choice_->SetPageCaption(15, CaptionAlign::kLeft);
                    choice_->onClicked = [this] { ShowMenu(*choice_, kMenuWidth, 15); };
                }
            }
            break;
    }
}

void AssignPage::OnDestroy() {
    hook_.Remove();
    CSkinPage::OnDestroy();
}

void AssignPage::SetShown(bool shown) {
    if (!hwnd()) return;
    if (shown) {
        ShowRecord();
        ShowWindow(hwnd(), SW_SHOW);
        // Keys go to the key box and nowhere else while this page shows.
        if (class_ == kClassKeyboardKey) Listen();
    } else {
        hook_.Remove();
        CloseDropDown();
        ShowWindow(hwnd(), SW_HIDE);
    }
}

void AssignPage::ShowRecord() {
    const ButtonAssignment& record = model_.Record();
    settingBox_ = true;
    switch (class_) {
        case kClassKeyboardKey:
            if (box_) box_->SetText(record.keyCode() ? CaptionText(record) : std::wstring());
            break;
        case kClassMacro:
            ShowChoiceCaption();
            ShowRepeat();
            if (box_) box_->SetText(std::to_wstring(record.repeatCount));
            break;
        case kClassLaunch:
            commandTyped_ = false;
            ShowLaunchChoice();
            break;
        default:
            ShowChoiceCaption();
            break;
    }
    settingBox_ = false;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void AssignPage::ShowChoiceCaption() {
    if (!choice_) return;
    const ButtonAssignment& record = model_.Record();
    if (class_ == kClassMacro) {
        choice_->SetText(record.FunctionCode == kCodeMacro ? Wide(FieldText(record.macroName)) : std::wstring());
    } else {
        choice_->SetText(CaptionText(record));
    }
    InvalidateRect(choice_->hwnd(), nullptr, FALSE);
}

void AssignPage::ShowRepeat() {
    const MacroRepeat mode = model_.Repeat();
    if (repeatButton_) {
        repeatButton_->SetText(OptionText(static_cast<UINT>(assign::kRepeatModeTexts[static_cast<size_t>(mode)])));
        InvalidateRect(repeatButton_->hwnd(), nullptr, FALSE);
    }
    // The count only matters, and only shows, when the macro plays a count of times.
    if (box_) ShowWindow(box_->hwnd(), mode == MacroRepeat::kCount && !dropDownOpen_ ? SW_SHOW : SW_HIDE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void AssignPage::ShowLaunchChoice() {
    const bool command = model_.CommandChosen();
    if (programChoice_) programChoice_->SetCheck(command ? 0 : 1);
    if (commandChoice_) commandChoice_->SetCheck(command ? 1 : 0);
    if (pathButton_) {
        const std::wstring path = Wide(FieldText(model_.Record().program));
        pathButton_->SetText(!command && !path.empty() ? path : OptionText(kTextChooseProgram));
        EnableWindow(pathButton_->hwnd(), !command);
        InvalidateRect(pathButton_->hwnd(), nullptr, FALSE);
    }
    if (box_) {
        // The box never shows a command that OK would not launch.
        const bool wasSetting = settingBox_;
        settingBox_ = true;
        box_->SetText(Wide(model_.CommandText()));
        settingBox_ = wasSetting;
        EnableWindow(box_->hwnd(), command);
    }
}

void AssignPage::ShowMenu(CSkinButton& button, int width, int fontHeight) {
    CSkinPopupMenu menu(SkinFont(fontHeight, 0, FW_NORMAL));
    if (&button == repeatButton_.get()) {
        for (size_t i = 0; i < assign::kRepeatModeTexts.size(); ++i)
            menu.AddItem(static_cast<UINT>(assign::kRepeatModeCommand + 1 + i),
                         OptionText(static_cast<UINT>(assign::kRepeatModeTexts[i])));
    } else {
        const auto entries = assign::MenuOf(class_);
        for (size_t i = 0; i < entries.size(); ++i)
            menu.AddItem(static_cast<UINT>(1001 + i), OptionText(static_cast<UINT>(entries[i].textId)));
    }
    menu.SetWidth(width);
    menu.TrackUnder(hwnd(), button);
}

void AssignPage::OpenMacroList() {
    if (!macroList_) return;
    dropDownOpen_ = true;
    macroList_->ResetContent();
    for (const auto& macro : library_) macroList_->AddString(Wide(FieldText(macro->name)), 0);
    const ButtonAssignment& record = model_.Record();
    if (record.FunctionCode == kCodeMacro) macroList_->SetCurSel(record.macroIndex);
    // The list covers the repeat controls while it is open, and the choice's
    // tip would cover the list's first rows.
    if (choice_) choice_->HoldTooltip(true);
    if (repeatButton_) ShowWindow(repeatButton_->hwnd(), SW_HIDE);
    if (box_) ShowWindow(box_->hwnd(), SW_HIDE);
    CSkinScrollBar::ShowSkinned(macroList_->hwnd());
    SetFocus(macroList_->hwnd());
}

bool AssignPage::CloseDropDown() {
    if (!dropDownOpen_) return false;
    dropDownOpen_ = false;
    if (macroList_ && choice_) macroList_->PassFocusTo(choice_->hwnd());
    if (choice_) {
        choice_->SetCheck(0);
        choice_->HoldTooltip(false);
    }
    if (macroList_) CSkinScrollBar::HideSkinned(macroList_->hwnd());
    if (repeatButton_) ShowWindow(repeatButton_->hwnd(), SW_SHOW);
    ShowRepeat();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return true;
}

void AssignPage::ChooseProgramFile() {
    wchar_t desktop[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop))) desktop[0] = L'\0';
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, (std::wstring(desktop) + L"\\.exe").c_str(), MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
    ofn.lpstrFilter = L"exe file(*.exe)\0*.EXE\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"exe";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameW(&ofn)) return;
    model_.SetProgram(Narrow16(path));
    ShowLaunchChoice();
}

void AssignPage::OnBoxChanged(bool focusLost) {
    if (!box_ || settingBox_) return;
    if (class_ == kClassMacro) {
        const assign::RepeatCount count = model_.TypeRepeatCount(Narrow16(box_->Text()), focusLost);
        if (count.writeBack) {
            settingBox_ = true;
            box_->SetText(Wide(*count.writeBack));
            SendMessageW(box_->hwnd(), EM_SETSEL, 0, -1);
            settingBox_ = false;
        }
    } else if (class_ == kClassLaunch && model_.CommandChosen() && !focusLost) {
        commandTyped_ = true;
        model_.SetCommandText(Narrow16(box_->Text()));
    }
}

void AssignPage::Finish() {
    if (class_ == kClassMacro && box_ && model_.Repeat() == MacroRepeat::kCount) OnBoxChanged(true);
    if (class_ == kClassLaunch && box_ && commandTyped_ && model_.CommandChosen())
        model_.SetCommandText(Narrow16(box_->Text()));
}

void AssignPage::Listen() {
    if (hook_.Installed()) return;
    model_.StartListening();
    if (!hook_.Install(hwnd())) DebugOut(L"AssignPage: the keyboard hook could not be installed\n");
}

void AssignPage::OnHookKey(WPARAM virtualKey, LPARAM flags) {
    DWORD time = 0;
    // Messages posted before the listening ended are not keys any more.
    if (!hook_.TakeEventTime(time)) return;
    if (class_ != kClassKeyboardKey || !IsWindowVisible(hwnd())) return;
    const assign::AssignModel::Heard heard = model_.HearKey(static_cast<uint32_t>(virtualKey),
                                                            (flags & kHookKeyReleased) != 0, SystemKeyboardLayout());
    if (heard.name && box_) {
        settingBox_ = true;
        box_->SetText(Wide(*heard.name));
        settingBox_ = false;
    }
    if (!heard.ended) return;
    // The keyboard is the dialog's again, from the control after the key box.
    hook_.Remove();
    const HWND dialog = GetAncestor(hwnd(), GA_ROOT);
    if (HWND next = box_ ? GetNextDlgTabItem(dialog, box_->hwnd(), FALSE) : nullptr)
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}

bool AssignPage::OnDialogCommand(WORD id, WORD code, HWND control) {
    // The menus' choices: the model knows their commands.
    if (!control) {
        if (class_ == kClassMacro) {
            if (!model_.ChooseRepeatMode(id)) return false;
            ShowRepeat();
            return true;
        }
        if (!model_.ChooseMenu(id)) return false;
        ShowChoiceCaption();
        return true;
    }
    if (macroList_ && control == macroList_->hwnd()) {
        if (code == LBN_SELCHANGE && model_.ChooseMacro(library_, macroList_->GetCurSel())) {
            CloseDropDown();
            ShowChoiceCaption();
        }
        return true;
    }
    // The key box taking the focus again (a click, or Tab round the dialog)
    // listens again after the stop combination ended it.
    if (class_ == kClassKeyboardKey && box_ && control == box_->hwnd() && code == EN_SETFOCUS &&
        IsWindowVisible(hwnd()))
        Listen();
    // The buttons' clicks went to their own handlers; the box's notices go on.
    return false;
}

LRESULT AssignPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOOK_KEY) {
        OnHookKey(wParam, lParam);
        return 0;
    }
    if (message == BitmapEditKillFocusMessage()) {
        OnBoxChanged(wParam == 1);
        return 0;
    }
    return CSkinPage::HandleMessage(message, wParam, lParam);
}

void AssignPage::PaintOver(HDC dc, const RECT&) {
    if (class_ == kClassDefault) {
        ButtonAssignment defaults;
        ResetToDefault(defaults, model_.ButtonIndex());
        SelectGuard font(dc, SkinFont(22));
        SetTextColor(dc, kDefaultCaption);
        DrawSkinText(dc, CaptionText(defaults), defaultCaption_, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX,
                     false);
        return;
    }
    const PageLabels labels = LabelsOf(class_);
    SelectGuard font(dc, SkinFont(15));
    SetTextColor(dc, kLabelColor);
    const bool countShown = class_ == kClassMacro && model_.Repeat() == MacroRepeat::kCount && !dropDownOpen_;
    for (int i = 0; i < 3; ++i) {
        if (!labels.texts[i]) continue;
        // The list covers the repeat labels while it is open; the count's label shows with the count.
        if (i > 0 && dropDownOpen_) continue;
        if (i == 2 && !countShown) continue;
        DrawSkinText(dc, OptionText(labels.texts[i]), labels_[i], DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, false);
    }
    if (countShown) {
        // A raised frame in the accent colour round the count.
        SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
        SelectGuard pen(dc, CachedPen(kCountFrame));
        Rectangle(dc, countFrame_.left, countFrame_.top, countFrame_.right, countFrame_.bottom);
        SelectGuard light(dc, CachedPen(RGB(178, 70, 210)));
        MoveToEx(dc, countFrame_.left + S(1), countFrame_.bottom - S(2), nullptr);
        LineTo(dc, countFrame_.left + S(1), countFrame_.top + S(1));
        LineTo(dc, countFrame_.right - S(1), countFrame_.top + S(1));
    }
}
