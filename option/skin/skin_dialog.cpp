#include "skin_dialog.h"

#include <windowsx.h>

#include "bitmap_region.h"
#include "buffered_paint.h"
#include "gdi_cache.h"
#include "mask_runs.h"
#include "skin_folder.h"
#include "skin_image.h"
#include "skin_scale.h"
#include "wide_text.h"

namespace {

constexpr COLORREF kMaskTransparent = RGB(255, 255, 255);
// What shows where a skin has no background picture.
constexpr COLORREF kNoBackground = RGB(16, 16, 16);

bool HidesFocus(HWND window) { return (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0; }

// The platform's rule for keyboard cues, kept per top-level window: the focus
// mark is hidden while the window is used with the pointer and shows from
// the first Tab or arrow on.
void ShowKeyboardCues(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (!root || !HidesFocus(root)) return;
    SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (HWND focus = GetFocus(); focus && IsChild(root, focus)) InvalidateRect(focus, nullptr, FALSE);
}

}  // namespace

int CSkinDialog::OnCreate(CREATESTRUCTW*) {
    LoadSkin();
    ApplyRegion(true);
    return 0;
}

void CSkinDialog::ApplyRegion(bool redraw) {
    MaskPixels pixels;
    RegionHandle region = mask_.Pixels(pixels) ? PixelsToRegion(pixels, kMaskTransparent, 0)
                                               : BitmapToRegion(mask_.Decoded(), kMaskTransparent, 0);
    region_ = nullptr;
    // The shape is all the mask is for: a window's worth of pixels less to
    // hold for as long as the window is open.
    const bool hadMask = mask_.IsOpen();
    mask_.Close();
    if (region) {
        region_ = region.get();
        if (!SetWindowRgn(hwnd(), region.get(), redraw)) region_ = nullptr;  // not taken: the guard deletes it
        else region.Release();
    } else if (hadMask) {
        SetWindowRgn(hwnd(), nullptr, redraw);  // the new mask has no shape: rectangular
    }
}

void CSkinDialog::SetSkinFolder(std::u16string folder) {
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
    skinFolder_ = std::move(folder);
    ownSet_ = skinFolder_;
    ownScale_ = UiScale{};
}

std::u16string CSkinDialog::SkinFolderPath() const {
    if (!skinFolder_.empty()) return ownSet_;
    const std::wstring& programSkins = SkinsFolder();
    return std::u16string(programSkins.begin(), programSkins.end());
}

std::u16string CSkinDialog::OwnSetFolder(int percent) const {
    if (percent == 100) return skinFolder_;
    const std::wstring set = SkinSetFolder(std::wstring(skinFolder_.begin(), skinFolder_.end()), percent);
    const std::wstring file = set + std::wstring(skinFile_.begin(), skinFile_.end());
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
    return std::u16string(set.begin(), set.end());
}

void CSkinDialog::LoadSkin() {
    if (!skinFolder_.empty()) {
        const int percent = SkinScale().percent;
        ownSet_ = OwnSetFolder(percent);
        ownScale_ = UiScale{ownSet_.empty() ? 100 : percent};
        if (ownSet_.empty()) ownSet_ = skinFolder_;
    }
    const SkinDescription skin(SkinFolderPath(), skinFile_);
    PictureFile over, down, disabled;
    LoadPictures(skin, over, down, disabled);

    // Without a background picture the template's size stays: the window still
    // opens and can be closed.
    if (backgroundSize_.cx > 0 && backgroundSize_.cy > 0)
        MoveWindow(hwnd(), 0, 0, backgroundSize_.cx, backgroundSize_.cy, TRUE);

    PictureCutter cutter(hwnd());
    CreateControls(skin, SkinPictures{background_.get(), PictureSource(over), PictureSource(down),
                                      PictureSource(disabled), &cutter});
}

void CSkinDialog::LoadPictures(const SkinDescription& skin, PictureFile& over, PictureFile& down,
                               PictureFile& disabled) {
    const SkinScreen screen = skin.ReadScreen();
    // The "Normal" picture is the background and the controls' normal
    // pictures at once: decoded once, kept as the background. The others are
    // wanted only in pieces (the shape, the controls' states): read where
    // those lie.
    mask_.Open(Wide(skin.ImagePath(screen.mask)));
    LoadSkinImage(Wide(skin.ImagePath(screen.normal)), background_, backgroundSize_);
    over.Open(Wide(skin.ImagePath(screen.over)));
    down.Open(Wide(skin.ImagePath(screen.down)));
    disabled.Open(Wide(skin.ImagePath(screen.disable)));
}

void CSkinDialog::RescaleSkin(const UiScale& programFrom) {
    // A window with its own folder moves from the scale of its own set.
    UiScale from = programFrom;
    if (!skinFolder_.empty()) {
        std::u16string set = OwnSetFolder(SkinScale().percent);
        // No set of the new scale: the window stays as it is.
        if (set.empty() || SkinScale().percent == ownScale_.percent) return;
        from = ownScale_;
        ownSet_ = std::move(set);
        ownScale_ = SkinScale();
    }
    const UiScale to = SkinScale();
    const SkinDescription skin(SkinFolderPath(), skinFile_);
    PictureFile over, down, disabled;
    LoadPictures(skin, over, down, disabled);
    // Nothing is drawn until the whole window has its new look.
    if (backgroundSize_.cx > 0 && backgroundSize_.cy > 0)
        SetWindowPos(hwnd(), nullptr, 0, 0, backgroundSize_.cx, backgroundSize_.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    ApplyRegion(false);
    for (RECT* rect : keptRects_) *rect = RescaleRect(*rect, from, to);
    for (SkinRect* rect : keptSkinRects_) {
        const RECT moved = RescaleRect(RECT{rect->left, rect->top, rect->right, rect->bottom}, from, to);
        *rect = SkinRect{moved.left, moved.top, moved.right, moved.bottom};
    }
    const SkinPictures pictures{background_.get(), PictureSource(over), PictureSource(down), PictureSource(disabled)};
    RescaleChildren(hwnd(), SkinRescale{from, to, &pictures});
    OnRescaled(skin, pictures);
}

void CSkinDialog::OnDpiChanged(int dpi, const RECT& suggested) {
    const UiScale from = SkinScale();
    const int percent = ChooseSkinSet(dpi);
    if (percent != from.percent) {
        SetSkinScale(percent);
        // One scale for the whole program: its other skinned windows (the
        // main window under a dialog, a dialog over it) follow in place.
        std::vector<HWND> others;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&others));
        RescaleSkin(from);
        const SkinRescale change{from, SkinScale(), nullptr};
        for (HWND other : others) {
            if (other == hwnd() || !IsWindow(other)) continue;
            SendMessageW(other, SkinRescaleMessage(), 0, reinterpret_cast<LPARAM>(&change));
            RedrawWindow(other, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    }
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CSkinDialog::OnDestroy() {
    mask_.Close();
    background_.Reset();
    backgroundSize_ = SIZE{0, 0};
}

void CSkinDialog::PaintBackground(HDC dc, const RECT& client) {
    if (DrawPicture(dc, background_.get(), 0, 0, backgroundSize_.cx, backgroundSize_.cy)) {
        // A window larger than its picture: no garbage beyond it.
        if (client.right > backgroundSize_.cx || client.bottom > backgroundSize_.cy) {
            RECT right{backgroundSize_.cx, 0, client.right, client.bottom};
            RECT below{0, backgroundSize_.cy, client.right, client.bottom};
            FillRect(dc, &right, CachedBrush(kNoBackground));
            FillRect(dc, &below, CachedBrush(kNoBackground));
        }
    } else {
        FillRect(dc, &client, CachedBrush(kNoBackground));
    }
}

bool CSkinDialog::OnPaint() {
    PaintDC paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    PaintBuffered(paint.get(), client, [this](HDC dc, const RECT& area) {
        PaintBackground(dc, area);
        SetBkMode(dc, TRANSPARENT);
        PaintOver(dc, area);
    });
    return true;
}

bool CSkinDialog::Describe(AccessibleFacts& facts) const {
    if (!hwnd()) return false;
    const bool page = (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD) != 0;
    facts.role = page ? AccessibleRole::kClient : AccessibleRole::kDialog;
    wchar_t title[256] = L"";
    GetWindowTextW(hwnd(), title, 256);
    facts.caption = title;
    facts.focusable = false;
    return true;
}

LRESULT CSkinDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (TrackDrag(message, wParam, lParam)) return 0;
    if (message == SkinRescaleMessage()) {
        const auto* change = reinterpret_cast<const SkinRescale*>(lParam);
        if (change && change->from.percent != change->to.percent) RescaleSkin(change->from);
        return 0;
    }
    switch (message) {
        case WM_INITDIALOG:
            // A window opened from the keyboard shows its cues at once, one
            // opened with the pointer after its first key.
            if (!(GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD)) {
                HWND owner = GetWindow(hwnd(), GW_OWNER);
                if (!owner || HidesFocus(GetAncestor(owner, GA_ROOT)))
                    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
            }
            return CDialogBase::HandleMessage(message, wParam, lParam);
        case WM_NEXTDLGCTL:
            ShowKeyboardCues(hwnd());
            return CDialogBase::HandleMessage(message, wParam, lParam);
        case WM_CHANGEUISTATE:
        case WM_UPDATEUISTATE:
            // Wine keeps no keyboard cue state: a window of its own keeps it,
            // and its controls ask the window (WM_QUERYUISTATE) for it.
            if (!(GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD) && (HIWORD(wParam) & UISF_HIDEFOCUS)) {
                if (LOWORD(wParam) == UIS_SET) hideFocus_ = true;
                if (LOWORD(wParam) == UIS_CLEAR) hideFocus_ = false;
            }
            return CDialogBase::HandleMessage(message, wParam, lParam);
        case WM_QUERYUISTATE:
            if (!(GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD))
                return (CDialogBase::HandleMessage(message, wParam, lParam) & ~UISF_HIDEFOCUS) |
                       (hideFocus_ ? UISF_HIDEFOCUS : 0);
            return CDialogBase::HandleMessage(message, wParam, lParam);
        case WM_DPICHANGED:
            if (lParam && !(GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_CHILD))
                OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // the paint covers the whole client area
        case WM_CLOSE:
            // The dialog manager would name the control with id IDCANCEL, and
            // refuse when it is disabled; here that id is skin entry 2, no
            // Cancel button. The close command names no control.
            PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        default:
            return CDialogBase::HandleMessage(message, wParam, lParam);
    }
}

bool CSkinDialog::OnLButtonDown(POINT at, UINT) {
    OnBackgroundPress(at);
    const DragMode mode = Drag();
    if (mode == DragMode::kNone) return false;
    // A page may lie on another page: the window that moves is the top one.
    HWND target = mode == DragMode::kSelf ? hwnd() : GetAncestor(hwnd(), GA_ROOT);
    RECT placed{};
    if (!target || !GetWindowRect(target, &placed)) return false;
    drag_.grab = at;
    ClientToScreen(hwnd(), &drag_.grab);
    drag_.origin = POINT{placed.left, placed.top};
    drag_.target = target;
    SetCapture(hwnd());
    return false;  // the default processing follows
}

bool CSkinDialog::TrackDrag(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!drag_.target) return false;
    switch (message) {
        case WM_MOUSEMOVE: {
            // A release the window never saw (the capture went elsewhere) ends it too.
            if (!(wParam & MK_LBUTTON)) break;
            POINT pointer{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd(), &pointer);
            SetWindowPos(drag_.target, nullptr, drag_.origin.x + pointer.x - drag_.grab.x,
                         drag_.origin.y + pointer.y - drag_.grab.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            break;
        default:
            return false;
    }
    drag_.target = nullptr;
    if (message != WM_CAPTURECHANGED && GetCapture() == hwnd()) ReleaseCapture();
    // The release still reaches the window's own handling.
    return false;
}

void CSkinDialog::DrawSkinText(HDC dc, const std::wstring& text, RECT box, UINT format, bool centreVertically) {
    if (centreVertically) {
        RECT measured = box;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
        const int boxHeight = box.bottom - box.top;
        const int height = measured.bottom - measured.top;
        if (height < boxHeight) box.top += (boxHeight - height) / 2;
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}
