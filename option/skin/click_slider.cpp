#include "click_slider.h"

#include <utility>

#include "accessible_object.h"
#include "buffered_paint.h"
#include "debug_output.h"
#include "gdi_cache.h"
#include "shared_pictures.h"
#include "skin_control.h"
#include "skin_dialog.h"
#include "skin_folder.h"
#include "skin_image.h"
#include "skin_rescale.h"

namespace {

constexpr wchar_t kTrackClass[] = L"GmClickHSlider";
// What the track shows where its window gave it no picture.
constexpr COLORREF kNoPicture = RGB(16, 16, 16);
constexpr wchar_t kThumbPictureWhat[] = L"slider thumb picture";

}  // namespace

bool CClickSlider::Create(const std::wstring& thumbPicture, int left, int top, int right, int bottom, HWND parent,
                           int id) {
    if (hwnd()) return false;
    minimum_ = kSliderDefaultMinimum;
    maximum_ = kSliderDefaultMaximum;
    // The thumb's size decides whether the track can carry it; the thumb takes
    // the picture over when it is made.
    // Every slider shows the same thumb: decoded once, a copy each.
    HBITMAP shared = SharedPictureFile(thumbPicture, kThumbPictureWhat);
    if (!shared) return false;
    BitmapHandle thumb(static_cast<HBITMAP>(CopyImage(shared, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!thumb) return false;
    // A track no wider than its thumb leaves the thumb nowhere to go.
    if (!SliderTrackFits(right - left, BitmapSize(thumb.get()).cx)) return false;

    thumbPicture_ = std::move(thumb);
    thumbPath_ = thumbPicture;
    parent_ = parent;
    id_ = id;
    CreateParams p = SkinControlParams(kTrackClass, SkinRect{left, top, right, bottom}, parent, id,
                                       kSkinControlStyle | WS_CLIPCHILDREN);
    // The dialog manager tabs into the track's children: the thumb is the stop.
    p.exStyle = WS_EX_CONTROLPARENT;
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return CWindow::Create(p);
}

int CClickSlider::OnCreate(CREATESTRUCTW*) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    thumb_.SetRange(minimum_, maximum_);
    thumb_.SetSnap(snap_);
    thumb_.SetDragEnabled(true);
    if (!thumb_.Create(std::move(thumbPicture_), 0, 0, client.right, client.bottom, hwnd(), id_, true)) return -1;
    return 0;
}

void CClickSlider::OnDestroy() {
    pressed_ = false;
    picture_.Reset();
}

void CClickSlider::SetBitmap(const RECT& rect, HBITMAP windowImage) {
    if (!windowImage) return;
    // Cut on the screen when the track has no window yet.
    picture_ = CropPicture(hwnd(), windowImage, rect);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CClickSlider::SetPos(int value) {
    thumb_.SetPos(value);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CClickSlider::SetRange(int minimum, int maximum) {
    if (!SliderRangeAllowed(minimum, maximum)) return false;
    minimum_ = minimum;
    maximum_ = maximum;
    thumb_.SetRange(minimum, maximum);
    // A value from the old range is brought into the new one, and the thumb
    // moves to where it now belongs.
    SetPos(thumb_.Pos());
    return true;
}

void CClickSlider::SetSnap(bool on) {
    snap_ = on;
    thumb_.SetSnap(on);
}

void CClickSlider::Draw(HDC dc) const {
    RECT client{};
    if (hwnd()) GetClientRect(hwnd(), &client);
    FillRect(dc, &client, CachedBrush(kNoPicture));
    DrawPicture(dc, picture_.get());
}

bool CClickSlider::OnPaint() {
    PaintDC paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    PaintBuffered(paint.get(), client, [this](HDC dc, const RECT&) { Draw(dc); });
    return true;
}

bool CClickSlider::OnLButtonDown(POINT, UINT) {
    // Clicking a slider gives it the keyboard, as clicking any control does.
    if (thumb_.hwnd()) SetFocus(thumb_.hwnd());
    released_ = false;
    thumb_.SetReleased(false);
    pressed_ = true;
    // Held, the press still ends here when the pointer leaves the track: left
    // of it gives the minimum, right of it the maximum.
    SetCapture(hwnd());
    return true;
}

bool CClickSlider::OnLButtonUp(POINT at, UINT) {
    if (!pressed_) return true;  // pressed elsewhere and let go here
    pressed_ = false;
    // Cleared first: giving up the capture comes back here as a capture change.
    if (GetCapture() == hwnd()) ReleaseCapture();
    RECT client{};
    GetClientRect(hwnd(), &client);
    const SliderReading reading = TrackClickValue(at.x, 0, client.right, minimum_, maximum_, snap_);
    DebugOutF(L"CClickSlider=%f\n", static_cast<double>(reading.exact));
    thumb_.SetPos(reading.value);
    thumb_.SetReleased(true);
    released_ = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
    if (parent_) PostMessageW(parent_, kSliderNotify, static_cast<WPARAM>(reading.value), static_cast<LPARAM>(id_));
    return true;
}

bool CClickSlider::OnCaptureChanged(HWND gaining) {
    // Another window took the mouse before the button came up: the click is
    // dropped and nothing is in progress any more.
    if (pressed_ && gaining != hwnd()) {
        pressed_ = false;
        released_ = true;
        thumb_.SetReleased(true);
    }
    return false;
}

void CClickSlider::Rescale(const SkinRescale& change) {
    // Moved already: the track's picture is cut again where it now lies.
    const RECT at = RectInParent(hwnd());
    if (change.pictures) SetBitmap(at, change.pictures->normal);
    // A thumb from the program's skins takes the one of the new set.
    const std::wstring& root = SkinsRootFolder();
    const std::wstring was = SkinSetFolder(root, change.from.percent);
    if (thumbPath_.compare(0, was.size(), was) == 0 && thumbPath_.find(L'\\', was.size()) == std::wstring::npos)
        thumbPath_ = SkinSetFolder(root, change.to.percent) + thumbPath_.substr(was.size());
    RECT client{};
    GetClientRect(hwnd(), &client);
    thumb_.Repicture(LoadBitmapFile(thumbPath_, kThumbPictureWhat), 0, 0, client.right, client.bottom);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT CClickSlider::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // the paint covers the track
        case kSliderNotify:
            // The thumb's report goes on to the parent under the track's id.
            if (parent_) PostMessageW(parent_, kSliderNotify, wParam, static_cast<LPARAM>(id_));
            return 0;
        case WM_SETFOCUS:
            if (thumb_.hwnd()) SetFocus(thumb_.hwnd());
            return 0;
        default:
            if (message == SkinRescaleMessage() && lParam) {
                Rescale(*reinterpret_cast<const SkinRescale*>(lParam));
                return 0;
            }
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}

bool CClickSlider::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kSlider;
    facts.value = std::to_wstring(Pos());
    if (!valueUnit_.empty()) facts.value += L" " + valueUnit_;
    // The thumb takes the keyboard; the track only answers clicks.
    facts.focusable = false;
    return true;
}
