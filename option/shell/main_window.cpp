#include "main_window.h"

#include <optional>

#include "app_messages.h"
#include "config_page.h"
#include "dpi_awareness.h"
#include "macro_page.h"
#include "module.h"
#include "named_mutex_lock.h"
#include "option_text_ids.h"
#include "program_folder.h"
#include "skin_description.h"
#include "skin_folder.h"
#include "skin_page.h"
#include "skin_scale.h"
#include "text_language.h"

namespace {

enum MainEntry {
    kMinimizeEntry = 2,
    kCloseEntry = 3,
    kConfigTabEntry = 4,
    kMacroTabEntry = 5,
    kPageArea = 7,
    kMouseStatusEntry = 8
};
// The badge: the skins' accent on a darker field of it, in a small font, as
// the header's other texts are too large for its place.
constexpr COLORREF kMouseStatusText = RGB(236, 200, 255);
constexpr COLORREF kMouseStatusField = RGB(74, 26, 92);
constexpr int kMouseStatusFont = 11;
constexpr int kIconResource = 128;
constexpr UINT kTextConfigTab = option_text::kSettingsTab;
constexpr UINT kTextMacroTab = option_text::kMacrosTab;

void SetTabLook(CSkinButton& tab, const std::wstring& text, CaptionAlign align) {
    tab.SetText(text);
    tab.SetPageCaption(24, align);
}

}  // namespace

CMainWindow::CMainWindow() : CSkinDialog(skin_template::kMainWindow, skin_files::kMain) {}

CMainWindow::~CMainWindow() = default;

int CMainWindow::OnCreate(CREATESTRUCTW* create) {
    // The task bar minimises and restores the window through these styles.
    SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
    const std::filesystem::path folder = GetProgramFolder();
    SetSkinsFolder((folder / L"skins").wstring() + L"\\");
    // The window opens on the primary display (the dialog manager's place).
    SetSkinScale(ChooseSkinSet(static_cast<int>(MonitorDpiAt(POINT{0, 0}))));
    texts_.Load(folder, ChooseTextLanguage(ReadLanguageOverride(folder), GetUserDefaultUILanguage()));
    // The skins' tooltips follow the texts' language.
    SetSkinTooltipLanguage(texts_.language());
    // The pages are made with the window's controls and edit the session's
    // profiles, so the store is read first. No Monitor, no lock: the store is
    // then read and written without it.
    lock_ = NamedMutexLock::Open(kStoreLockName);
    session_ = std::make_unique<OptionSession>(folder, lock_.get());
    session_->Load();
    context_ = std::make_unique<OptionContext>(*session_, monitor_, [this](unsigned id) { return texts_.Text(id); });
    return CSkinDialog::OnCreate(create);
}

void CMainWindow::Bind(CSkinButton* button, std::function<void()> clicked) {
    if (!button) return;
    // A click anywhere in the window first closes what a page has open.
    button->onClicked = [this, clicked = std::move(clicked)] {
        CloseTransients();
        clicked();
    };
}

void CMainWindow::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    // Made in reading order, which is the order of Tab: the tabs at the left of
    // the title row first, so the window opens with the focus on a tab (where
    // Enter does nothing harmful), then its buttons at the right, then the page.
    configTab_ = CSkinPage::MakeButton(hwnd(), skin, kConfigTabEntry, pictures);
    macroTab_ = CSkinPage::MakeButton(hwnd(), skin, kMacroTabEntry, pictures);
    for (CSkinButton* tab : {configTab_.get(), macroTab_.get()}) {
        if (tab) tab->SetAccessibleRole(AccessibleRole::kPageTab);
    }
    CSkinButtonBase::JoinChoice({configTab_.get(), macroTab_.get()});
    minimize_ = CSkinPage::MakeButton(hwnd(), skin, kMinimizeEntry, pictures);
    close_ = CSkinPage::MakeButton(hwnd(), skin, kCloseEntry, pictures);
    const ButtonPos status = skin.ReadEntry(kMouseStatusEntry);
    if (status.rect.Width() > 0) {
        mouseStatus_ = std::make_unique<CSkinLabel>();
        if (mouseStatus_->CreateFromSkin(hwnd(), status)) {
            mouseStatus_->SetTextColor(kMouseStatusText);
            mouseStatus_->SetBkColor(kMouseStatusField);
            mouseStatus_->SetFontHeight(kMouseStatusFont);
            mouseStatus_->SetText(texts_.Text(option_text::kMouseAbsent));
            mouseStatus_->SetTooltip(texts_.Text(option_text::kMouseAbsentTip));
            // Hidden until the Monitor has been asked.
            ShowWindow(mouseStatus_->hwnd(), SW_HIDE);
        } else {
            mouseStatus_.reset();
        }
    }
    if (configTab_) SetTabLook(*configTab_, texts_.Text(kTextConfigTab), CaptionAlign::kLeft);
    if (macroTab_) SetTabLook(*macroTab_, texts_.Text(kTextMacroTab), CaptionAlign::kCentredWrapped);
    Bind(minimize_.get(), [this] { ShowWindow(hwnd(), SW_MINIMIZE); });
    Bind(close_.get(), [this] {
        // Closing Option with its own close button ends the whole suite.
        CMonitorPort::PostClose();
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    });
    Bind(configTab_.get(), [this] { ShowPage(Page::kConfig); });
    Bind(macroTab_.get(), [this] { ShowPage(Page::kMacros); });

    pageArea_ = skin.ReadEntry(kPageArea).rect;
    KeepScaled(pageArea_);
    if (context_) {
        configPage_ = std::make_unique<CConfigPage>(*context_);
        if (!configPage_->CreateAt(hwnd(), pageArea_)) configPage_.reset();
        // The configuration page applies what the other pages changed.
        auto tell = [this](auto send) {
            return [this, send] {
                if (configPage_ && configPage_->hwnd()) send(configPage_->hwnd(), WM_SETTINGS_CHANGED, 0, 0);
            };
        };
        context_->SetSettingsChanged(tell(PostMessageW), tell(SendMessageW));
        macroPage_.Plan(hwnd(), pageArea_, [this] {
            auto page = std::make_unique<CMacroPage>(*context_);
            // A macro's new steps change the buttons that play it.
            page->SetButtonsChanged([this] {
                if (!configPage_) return;
                if (CSkinPage* buttons = configPage_->SubPageWindow(CConfigPage::SubPage::kButtons))
                    buttons->Refresh();
            });
            return page;
        });
    }
    if (configTab_) configTab_->SetCheck(1);
    if (configPage_) ShowWindow(configPage_->hwnd(), SW_SHOW);
    shown_ = Page::kConfig;
}

BOOL CMainWindow::OnInitDialog() {
    auto icon = [](int size) {
        return static_cast<HICON>(
            LoadImageW(CurrentModule(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(GetSystemMetrics(SM_CXICON))));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(GetSystemMetrics(SM_CXSMICON))));
    SetWindowTextW(hwnd(), kOptionWindowTitle);
    // Asked once the Monitor can find the window by its title: a mouse that
    // arrives from now on is announced (WM_MOUSE_STATE), one before is answered here.
    ShowMouseStatus(CMonitorPort::MouseConnected());
    keys_.Install([this](const MSG& message) { return OnDialogKey(message); });

    if (configPage_) {
        configPage_->Refresh();
        // The mouse must hold what the page shows from the first moment on.
        if (session_ && session_->OwesFullApply()) configPage_->ApplySettings(true);
    }
    return TRUE;
}

void CMainWindow::OnDestroy() {
    keys_.Remove();
    // A recording ends first: it stores what it has, while the session is there.
    if (CMacroPage* macros = macroPage_.Built()) macros->StopRecording();
    CSkinDialog::OnDestroy();
    macroPage_.Reset();
    configPage_.reset();
    context_.reset();
    lock_.reset();
    session_.reset();
    texts_.Unload();
}

void CMainWindow::CloseTransients() {
    if (CMacroPage* macros = macroPage_.Built()) macros->CloseTransient();
    if (configPage_) configPage_->CloseTransient();
}

void CMainWindow::OnBackgroundPress(POINT) { CloseTransients(); }

void CMainWindow::OnProfileChanged() {
    if (!session_) return;
    // A rename typed before the Monitor's change belongs to the profile it began
    // on. While that profile stays current the box stays open with what was
    // typed; another profile current closes it, and the name goes to the store
    // as it is after the change.
    std::optional<CConfigPage::PendingRename> rename;
    if (configPage_) rename = configPage_->RenameInProgress();
    bool switched = false;
    const bool current = session_->ReloadAfterMonitorChange(&switched);
    if (!configPage_) return;
    if (!switched) {
        if (current) configPage_->RefreshFromMonitor();
        return;
    }
    if (rename) {
        configPage_->CancelRename();
        session_->RenameProfile(rename->position, rename->oldName, rename->typed);
    }
    // Another profile is current (a game's, or back from one): everything the
    // page shows follows, as after a choice in the list, with nothing sent back.
    CloseTransients();
    configPage_->Refresh();
}

void CMainWindow::CloseNow() {
    // Whatever is open, one close request ends Option. A rename in progress is
    // dropped, as Esc drops it: half a name is no decision of the user's.
    if (configPage_) configPage_->CancelRename();
    if (CMacroPage* macros = macroPage_.Built()) macros->CancelRename();
    CloseTransients();
    // An open drop-down menu and a dialog over the window each run a message
    // loop of their own, and Option would stay on the screen inside it: the
    // menu is ended, and each dialog cancelled as Esc cancels it.
    EndMenu();
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM main) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            const bool dialog = lstrcmpW(cls, reinterpret_cast<const wchar_t*>(kSkinDialogClass)) == 0 ||
                                lstrcmpW(cls, L"#32770") == 0;
            if (dialog && window != reinterpret_cast<HWND>(main) &&
                GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(main))
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(hwnd()));
    EndDialog(IDCANCEL);
}

void CMainWindow::ShowMouseStatus(bool connected) {
    if (mouseStatus_) ShowWindow(mouseStatus_->hwnd(), connected ? SW_HIDE : SW_SHOWNA);
}

void CMainWindow::ShowPage(Page page) {
    if (page == shown_) return;
    CMacroPage* macros = macroPage_.Built();
    if (page != Page::kMacros && macros) macros->StopRecording();
    if (page == Page::kMacros) {
        // Made before the shown page goes, so the area never shows empty.
        macroPage_.Build();
        if (configPage_) ShowWindow(configPage_->hwnd(), SW_HIDE);
        macroPage_.Show(true);
    } else {
        macroPage_.Show(false);
        if (configPage_) ShowWindow(configPage_->hwnd(), SW_SHOW);
    }
    shown_ = page;
    if (configTab_) configTab_->SetCheck(page == Page::kConfig ? 1 : 0);
    if (macroTab_) macroTab_->SetCheck(page == Page::kMacros ? 1 : 0);
}

bool CMainWindow::OnDialogCommand(WORD id, WORD, HWND control) {
    if (!control && (id == IDOK || id == IDCANCEL)) {
        // Enter and Esc while a name is being typed belong to the name, not to
        // the window: they must not close Option with the rename half done.
        if (id == IDCANCEL && configPage_ && configPage_->CancelRename()) return true;
        if (configPage_ && configPage_->CloseTransients()) return true;
        CMacroPage* macros = macroPage_.Built();
        if (shown_ == Page::kMacros && macros &&
            (macros->CloseTransients() || (id == IDCANCEL && macros->CancelInsertPanel())))
            return true;
    }
    CloseTransients();
    return false;
}

void CMainWindow::OnOK() {
    // Enter, hit by accident, must not throw away the window: it presses the
    // focused button, as Space does, and otherwise does nothing. Esc and the
    // close button are the ways out.
    HWND focus = GetFocus();
    if (!focus || !IsChild(hwnd(), focus) || !IsWindowEnabled(focus)) return;
    if (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) SendMessageW(focus, BM_CLICK, 0, 0);
}

bool CMainWindow::OnDialogKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || (message.wParam != VK_NEXT && message.wParam != VK_PRIOR)) return false;
    if (!(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return false;
    // Keys for a dialog over this window (the key page among them) stay its
    // own; the recorder lives on the macro tab, which has no sub-pages.
    if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)) return false;
    if (!IsWindowEnabled(hwnd()) || shown_ != Page::kConfig || !configPage_) return false;
    HWND tab = configPage_->StepSubPage(message.wParam == VK_NEXT ? 1 : -1);
    // As Ctrl+Tab does for the main tabs: the focus goes with the page.
    if (tab && IsWindow(tab)) SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab), TRUE);
    return true;
}

LRESULT CMainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_APPLY_DONE:
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            ReleaseCapture();
            return 0;
        case WM_PROFILE_CHANGED:
            OnProfileChanged();
            return 0;
        case WM_MOUSE_STATE:
            ShowMouseStatus(wParam == 1);
            return 0;
        case WM_NEXTDLGCTL:
            // The dialog manager turns Tab into this whatever else is held:
            // Ctrl+Tab and Ctrl+Shift+Tab switch the main tab instead, with
            // the focus on the tab now shown.
            if (!LOWORD(lParam) && (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_TAB) & 0x8000)) {
                ShowPage(shown_ == Page::kConfig ? Page::kMacros : Page::kConfig);
                CSkinButton* tab = shown_ == Page::kConfig ? configTab_.get() : macroTab_.get();
                if (tab) SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab->hwnd()), TRUE);
                return 0;
            }
            return CSkinDialog::HandleMessage(message, wParam, lParam);
        case WM_CLOSE:
            // The close button, the system close, Alt+F4 and the Monitor (the mouse
            // unplugged) ask this way; Esc arrives as IDCANCEL and keeps its meaning.
            CloseNow();
            return 0;
        default:
            return CSkinDialog::HandleMessage(message, wParam, lParam);
    }
}
