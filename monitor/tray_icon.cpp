#include "tray_icon.h"

#include <shellapi.h>

#include "app_messages.h"
#include "debug_output.h"
#include "dpi_awareness.h"
#include "gdi.h"
#include "text_ids.h"
#include "text_library.h"

namespace {

// Menu texts are loaded into buffers of this many characters.
constexpr int kMenuTextUnits = 260;
// The balloon's fields, terminators included (NOTIFYICONDATAW).
constexpr int kBalloonTitleUnits = 64;
constexpr int kBalloonTextUnits = 256;

// A grey, dimmed copy of `icon` with its transparency: the same picture, so the
// user still finds it, but plainly not in use. Null when it cannot be made.
HICON GreyCopy(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    const BitmapHandle colour(info.hbmColor);
    const BitmapHandle mask(info.hbmMask);
    BITMAP size{};
    if (!colour || !GetObjectW(colour.get(), sizeof size, &size)) return nullptr;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = -size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ClientDC screen(nullptr);
    BitmapHandle grey(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!grey || !bits) return nullptr;
    if (!GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(size.bmHeight), bits, &format, DIB_RGB_COLORS))
        return nullptr;
    auto* pixel = static_cast<BYTE*>(bits);
    for (LONG i = 0; i < size.bmWidth * size.bmHeight; ++i, pixel += 4) {
        // Luminance, pulled towards the middle so that the grey icon reads as faded.
        const int light = (pixel[2] * 30 + pixel[1] * 59 + pixel[0] * 11) / 100;
        // Icons keep straight alpha, so the alpha byte stays as it is.
        pixel[0] = pixel[1] = pixel[2] = static_cast<BYTE>(64 + light / 2);
    }
    ICONINFO made{TRUE, 0, 0, mask.get(), grey.get()};
    return CreateIconIndirect(&made);
}

}  // namespace

CTrayIcon::~CTrayIcon() { Remove(); }

void CTrayIcon::Attach(HWND owner, UINT callbackMessage, const CTextLibrary* texts) {
    owner_ = owner;
    callbackMessage_ = callbackMessage;
    texts_ = texts;
}

int CTrayIcon::WantedSize() const { return SystemMetricForDpi(SM_CXSMICON, WindowDpi(owner_)); }

HICON CTrayIcon::SmallIcon() {
    const int size = WantedSize();
    if (icon_ && size == iconSize_) return icon_.get();
    // Both pictures are of the old size now.
    greyIcon_.Reset();
    iconSize_ = size;
    // The executable's own first icon at the small size: what the shell shows
    // for this file on Windows. Asking the shell instead gives a blank document
    // icon where .exe files have no file association (a fresh Wine prefix).
    icon_.Reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResourceId), IMAGE_ICON, size, size, 0)));
    if (!icon_) {
        wchar_t module[MAX_PATH * 2] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH * 2 - 1);
        SHFILEINFOW info{};
        if (SHGetFileInfoW(module, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) icon_.Reset(info.hIcon);
    }
    // What the shell is handed, measured rather than assumed: tests and users
    // of a debugger see the size at each DPI.
    ICONINFO info{};
    if (icon_ && GetIconInfo(icon_.get(), &info)) {
        const BitmapHandle colour(info.hbmColor);
        const BitmapHandle mask(info.hbmMask);
        BITMAP picture{};
        if (GetObjectW(colour ? colour.get() : mask.get(), sizeof picture, &picture))
            DebugOutF(L"notification-area icon: %d px at %u dpi, %ls\n", static_cast<int>(picture.bmWidth),
                      WindowDpi(owner_), PerMonitorDpiAware() ? L"per-monitor aware" : L"not per-monitor aware");
    }
    return icon_.get();
}

HICON CTrayIcon::Icon() {
    if (connected_) return SmallIcon();
    if (!greyIcon_) greyIcon_.Reset(GreyCopy(SmallIcon()));
    return greyIcon_ ? greyIcon_.get() : SmallIcon();
}

bool CTrayIcon::Add() {
    if (!owner_) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = Icon();
    lstrcpynW(data.szTip, Tip().c_str(), kTipUnits);
    // A shell that restarted has forgotten the icon; adding over a known one is refused, so modify then.
    if (Shell_NotifyIconW(NIM_ADD, &data) || Shell_NotifyIconW(NIM_MODIFY, &data)) {
        shown_ = true;
        return true;
    }
    DebugOut(L"notification-area icon could not be added\n");
    return false;
}

std::wstring CTrayIcon::Text(int id) const { return texts_ ? texts_->Text(id, kMenuTextUnits) : std::wstring(); }

std::wstring CTrayIcon::Tip() const {
    // Away, the tip says so instead of naming a profile the mouse does not hold.
    if (!connected_) return Text(kTextTrayNoMouse).substr(0, kTipUnits - 1);
    std::wstring tip = Text(kTextTrayTip);
    if (!profileName_.empty()) tip += (tip.empty() ? L"" : L" - ") + profileName_;
    // The field cuts it; a cut name still shows where it was cut.
    if (tip.size() >= static_cast<size_t>(kTipUnits)) tip = tip.substr(0, kTipUnits - 4) + L"...";
    return tip;
}

void CTrayIcon::SetProfileName(std::wstring name) {
    if (name == profileName_) return;
    profileName_ = std::move(name);
    Update();
}

void CTrayIcon::Update() {
    if (!shown_ || !owner_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = Icon();
    lstrcpynW(data.szTip, Tip().c_str(), kTipUnits);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void CTrayIcon::FollowDisplay() {
    if (icon_ && WantedSize() != iconSize_) Update();
}

void CTrayIcon::SetConnected(bool connected, bool announce) {
    const bool changed = connected != connected_;
    connected_ = connected;
    if (changed) Update();
    if (!shown_ || !owner_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_INFO;
    if (connected) {
        // The mouse is back: a balloon that says it went is no longer true. An
        // empty text takes it away.
        if (balloon_) Shell_NotifyIconW(NIM_MODIFY, &data);
        balloon_ = false;
        return;
    }
    if (!announce) return;
    data.dwInfoFlags = NIIF_INFO;
    lstrcpynW(data.szInfoTitle, Text(kTextUnpluggedTitle).c_str(), kBalloonTitleUnits);
    lstrcpynW(data.szInfo, Text(kTextUnpluggedBalloon).c_str(), kBalloonTextUnits);
    balloon_ = Shell_NotifyIconW(NIM_MODIFY, &data);
    if (balloon_) DebugOut(L"notification-area balloon: the mouse was unplugged\n");
}

void CTrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner_;
    data.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    shown_ = false;
}

void CTrayIcon::ShowMenu(bool gameProfiles) {
    // The menu closes when the user clicks elsewhere only if our window is in front.
    SetForegroundWindow(GetLastActivePopup(owner_));

    const MenuHandle menu(CreatePopupMenu());
    if (!menu) return;
    const std::wstring open = texts_ ? texts_->Text(kTextOpenOption, kMenuTextUnits) : std::wstring();
    const std::wstring exit = texts_ ? texts_->Text(kTextExitMonitor, kMenuTextUnits) : std::wstring();
    const std::wstring games = texts_ ? texts_->Text(kTextGameProfiles, kMenuTextUnits) : std::wstring();
    AppendMenuW(menu.get(), MF_STRING, ID_OPEN_OPTION, open.c_str());
    AppendMenuW(menu.get(), MF_STRING | (gameProfiles ? MF_CHECKED : MF_UNCHECKED), ID_GAME_PROFILES, games.c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_EXIT_MONITOR, exit.c_str());
    SetMenuDefaultItem(menu.get(), ID_OPEN_OPTION, FALSE);

    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, owner_, nullptr);
    PostMessageW(owner_, WM_NULL, 0, 0);
}
