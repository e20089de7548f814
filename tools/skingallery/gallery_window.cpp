#include "gallery_window.h"

#include <cwctype>

#include "app_messages.h"
#include "menu_frame_hook.h"
#include "gdi_cache.h"
#include "skin_control.h"
#include "skin_popup_menu.h"

namespace {

// Captions that show what each alignment mode does with a text.
const wchar_t* const kModeCaptions[8] = {
    L"Mode 0 centred text",
    L"Mode 1 left, one line, ends in an ellipsis when long",
    L"Mode 2 right, one line",
    L"Mode 3 left, one line, ends in an ellipsis when long",
    L"Mode 4",
    L"Mode 5",
    L"Mode 6 from 45 px",
    L"Mode 7 from 15 px, one line",
};

constexpr LampIndicator kLampIndicators[8] = {
    LampIndicator::kBlue,      LampIndicator::kRed,      LampIndicator::kGreen,  LampIndicator::kBlueRed,
    LampIndicator::kBlueGreen, LampIndicator::kRedGreen, LampIndicator::kAllLit, LampIndicator::kAllDark,
};

constexpr COLORREF kSwatch = RGB(0, 200, 255);
// As the program's rename box, but out of the tab order, so no activation selects its text.
constexpr DWORD kEditStyle = WS_VISIBLE | ES_AUTOHSCROLL | ES_MULTILINE;

enum GalleryEntry {
    kFirstPush = 1,
    kFirstCheck = 11,
    kFirstLamp = 21,
    kSwatchEntry = 30,
    kEditEntry = 31,
    kLabelEntry = 32,
    kMenuEntry = 33,
    kCloseEntry = 34,
    kDisabledEntry = 35,
    kSliderEntry = 36,
};

// The slider stands for the performance page's DPI slider: values in hundreds of DPI.
constexpr int kSliderMinimum = 2;
constexpr int kSliderMaximum = 100;
constexpr int kSliderStart = 16;
constexpr wchar_t kThumbPicture[] = L"slider_arrow_rect.bmp";

std::wstring DpiText(int value) { return std::to_wstring(value * 100) + L" DPI"; }

enum MenuCommand : UINT {
    kMenuCopy = 1001,
    kMenuImport = 1002,
    kMenuExport = 1003,
    kMenuMarked = 1004,
    kMenuSubFirst = 1005,
    kMenuSubSecond = 1006,
};

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

CGalleryWindow::CGalleryWindow(std::u16string skinFile, std::wstring logPath)
    : CSkinDialog(skin_template::kMainWindow, std::move(skinFile)), logPath_(std::move(logPath)) {}

CGalleryWindow::~CGalleryWindow() = default;

bool CGalleryWindow::IsGallerySkin() const {
    const std::u16string& file = SkinFile();
    return Lower(std::wstring(file.begin(), file.end())) == L"skin_gallery.ini";
}

void CGalleryWindow::Log(const std::string& line) const {
    if (logPath_.empty()) return;
    if (FILE* file = _wfopen(logPath_.c_str(), L"ab")) {
        fputs(line.c_str(), file);
        fputs("\n", file);
        fclose(file);
    }
}

CSkinButton* CGalleryWindow::AddButton(int entry, const ButtonPos& pos, const SkinPictures& pictures) {
    auto button = std::make_unique<CSkinButton>();
    if (!button->CreateFromSkin(hwnd(), pos, pictures)) return nullptr;
    button->SetHoverId(entry);
    entryOf_[button->hwnd()] = entry;
    CSkinButton* raw = button.get();
    controls_.push_back(std::move(button));
    return raw;
}

void CGalleryWindow::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    if (IsGallerySkin()) {
        CreateGalleryControls(skin, pictures);
    } else {
        CreatePlainButtons(skin, pictures);
    }
}

void CGalleryWindow::CreatePlainButtons(const SkinDescription& skin, const SkinPictures& pictures) {
    for (int entry = 0; entry <= 63; ++entry)
        if (skin.HasEntry(entry)) AddButton(entry, skin.ReadEntry(entry), pictures);
}

void CGalleryWindow::CreateGalleryControls(const SkinDescription& skin, const SkinPictures& pictures) {
    for (int mode = 0; mode < 8; ++mode) {
        if (CSkinButton* push = AddButton(kFirstPush + mode, skin.ReadEntry(kFirstPush + mode), pictures)) {
            push->SetText(kModeCaptions[mode]);
            push->SetAlign(CaptionAlignFromNumber(mode));
        }
        if (CSkinButton* check = AddButton(kFirstCheck + mode, skin.ReadEntry(kFirstCheck + mode), pictures)) {
            check->SetCheckMode(true);
            check->SetText(kModeCaptions[mode]);
            check->SetAlign(CaptionAlignFromNumber(mode));
        }
        const LampIndicator indicator = kLampIndicators[mode];
        if (CSkinButton* lamps = AddButton(kFirstLamp + mode, skin.ReadEntry(kFirstLamp + mode), pictures)) {
            lamps->SetIndicator(indicator);
            lamps->SetText(L"Lamps " + std::to_wstring(static_cast<int>(indicator)));
            lamps->SetAlign(CaptionAlign::kLeft);
        }
    }

    auto swatch = std::make_unique<CSkinColorButton>();
    const ButtonPos swatchPos = skin.ReadEntry(kSwatchEntry);
    if (swatch->CreateFromSkin(hwnd(), swatchPos, pictures)) {
        swatch->SetFillColor(kSwatch);
        swatch->SetHoverId(kSwatchEntry);
        entryOf_[swatch->hwnd()] = kSwatchEntry;
        controls_.push_back(std::move(swatch));
    }

    auto edit = std::make_unique<CBitmapEdit>();
    if (edit->Create(hwnd(), skin.ReadEntry(kEditEntry).rect, kEditStyle, kEditEntry)) {
        edit->SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
        edit->ApplyFont();
        edit->SetLimit(20);
        edit->SetText(L"Profile 1");
        controls_.push_back(std::move(edit));
    }

    auto label = std::make_unique<CSkinLabel>();
    if (label->CreateFromSkin(hwnd(), skin.ReadEntry(kLabelEntry))) {
        label->SetText(DpiText(kSliderStart));
        label_ = label.get();
        controls_.push_back(std::move(label));
    }

    // A skin without a slider entry, or a skins folder without the thumb
    // picture, shows no slider; the rest of the gallery still works.
    if (skin.HasEntry(kSliderEntry)) {
        const SkinRect r = skin.ReadEntry(kSliderEntry).rect;
        const std::u16string folder = SkinFolderPath();
        auto slider = std::make_unique<CClickSlider>();
        if (slider->Create(std::wstring(folder.begin(), folder.end()) + kThumbPicture, r.left, r.top, r.right,
                           r.bottom, hwnd(), kSliderEntry)) {
            slider->SetBitmap(RECT{r.left, r.top, r.right, r.bottom}, pictures.normal);
            slider->SetRange(kSliderMinimum, kSliderMaximum);
            slider->SetPos(kSliderStart);
            slider_ = slider.get();
            controls_.push_back(std::move(slider));
        }
    }

    if ((menuButton_ = AddButton(kMenuEntry, skin.ReadEntry(kMenuEntry), pictures))) {
        menuButton_->SetText(L"Menu");
        menuButton_->SetAlign(CaptionAlign::kCentredWrapped);
    }
    closeButton_ = AddButton(kCloseEntry, skin.ReadEntry(kCloseEntry), pictures);
    if (CSkinButton* disabled = AddButton(kDisabledEntry, skin.ReadEntry(kDisabledEntry), pictures)) {
        disabled->SetText(L"Disabled");
        disabled->SetAlign(CaptionAlign::kCentredWrapped);
        EnableWindow(disabled->hwnd(), FALSE);
    }
}

BOOL CGalleryWindow::OnInitDialog() {
    SetWindowTextW(hwnd(), kTitle);
    if (placed_) SetWindowPos(hwnd(), nullptr, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return FALSE;  // no control takes the focus (and selects its text) at the start
}

void CGalleryWindow::ShowMenu() {
    RECT button{};
    GetWindowRect(menuButton_->hwnd(), &button);
    HFONT font = SkinFont(15);
    {
        CSkinPopupMenu more(font);
        more.AddItem(kMenuSubFirst, L"Slower");
        more.AddItem(kMenuSubSecond, L"Faster");
        more.SetWidth(102);

        CSkinPopupMenu menu(font);
        menu.AddItem(kMenuCopy, L"Copy profile");
        menu.AddItem(kMenuImport, L"Import profile");
        menu.AddItem(PopupMenuModel::kSeparatorId, L"");
        menu.AddItem(kMenuExport, L"Export profile");
        menu.AddItem(kMenuMarked, L"1600 DPI (current)", nullptr, 1);
        menu.AddItem(0, L"Speed", more.menu());
        menu.SetWidth(160);
        menu.Track(hwnd(), button.left, button.bottom);
        PostMessageW(hwnd(), WM_NULL, 0, 0);
    }
    menuButton_->SetHover(false);
    RedrawWindow(menuButton_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool CGalleryWindow::OnDialogCommand(WORD id, WORD code, HWND control) {
    if (!control) {  // a menu choice
        if (id >= kMenuCopy && id <= kMenuSubSecond) {
            Log("menu " + std::to_string(id));
            return true;
        }
        return false;
    }
    const auto found = entryOf_.find(control);
    if (found == entryOf_.end() || code != BN_CLICKED) return false;
    Log("clicked " + std::to_string(found->second));
    if (menuButton_ && control == menuButton_->hwnd()) ShowMenu();
    if (closeButton_ && control == closeButton_->hwnd()) EndDialog(IDOK);
    return true;
}

LRESULT CGalleryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BUTTON_HOVER) {
        Log("hover " + std::to_string(static_cast<int>(lParam)) + " " + std::to_string(static_cast<int>(wParam)));
        return 0;
    }
    if (message == kSliderNotify && slider_ && static_cast<int>(lParam) == kSliderEntry) {
        const int value = static_cast<int>(wParam);
        Log("slider " + std::to_string(value) + " " + (slider_->Released() ? "1" : "0"));
        if (label_) label_->SetText(DpiText(value));
        return 0;
    }
    if (message == BitmapEditKillFocusMessage() && message != 0) {
        Log("edit " + std::to_string(static_cast<int>(wParam)));
        return 0;
    }
    return CSkinDialog::HandleMessage(message, wParam, lParam);
}
