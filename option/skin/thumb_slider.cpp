#include "thumb_slider.h"

#include <utility>

#include "bitmap_region.h"
#include "accessible_object.h"
#include "buffered_paint.h"
#include "debug_output.h"
#include "gdi_cache.h"
#include "skin_control.h"
#include "skin_image.h"

namespace {

constexpr wchar_t kThumbClass[] = L"GmSliderThumb";
// The keyboard's focus, once the keyboard is in use: a hairline just inside
// the thumb's outline.
constexpr COLORREF kFocusLine = kFocusMarkOnAccent;

SliderKey KeyOf(UINT virtualKey) {
    switch (virtualKey) {
        case VK_LEFT:
            return SliderKey::kStepDown;
        case VK_RIGHT:
            return SliderKey::kStepUp;
        case VK_HOME:
            return SliderKey::kFirst;
        case VK_END:
            return SliderKey::kLast;
        default:
            return SliderKey::kNone;
    }
}

}  // namespace

RegionHandle ThumbRegion(HBITMAP picture) {
    if (!picture) return {};
    COLORREF transparent = CLR_INVALID;
    {
        MemoryDC dc(nullptr);
        if (!dc) return {};
        SelectGuard select(dc.get(), picture);
        transparent = GetPixel(dc.get(), 0, 0);
    }
    if (transparent == CLR_INVALID) return {};
    return BitmapToRegion(picture, transparent, 0);
}

bool CThumbSlider::Create(BitmapHandle picture, int x0, int y, int x1, int height, HWND parent, int id,
                          bool shaped) {
    if (hwnd() || !picture) return false;
    picture_ = std::move(picture);
    size_ = BitmapSize(picture_.get());
    travel_ = SliderTravel{x0, x1, size_.cx};
    // Centred across the track, so a thumb fits a groove drawn in the track's middle.
    top_ = y + (height - size_.cy) / 2;
    value_ = ThumbClamp(value_, minimum_, maximum_);

    const int left = ThumbLeftOf(value_, travel_, minimum_, maximum_);
    CreateParams p = SkinControlParams(kThumbClass, SkinRect{left, top_, left + size_.cx, top_ + size_.cy}, parent, id,
                                       kSkinControlStyle | WS_TABSTOP);
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!CWindow::Create(p)) {
        picture_.Reset();
        return false;
    }
    if (shaped) {
        RegionHandle region = ThumbRegion(picture_.get());
        if (region && SetWindowRgn(hwnd(), region.get(), TRUE)) region.Release();  // the window owns it now
    }
    return true;
}

void CThumbSlider::Repicture(BitmapHandle picture, int x0, int y, int x1, int height) {
    if (!picture) return;
    picture_ = std::move(picture);
    size_ = BitmapSize(picture_.get());
    travel_ = SliderTravel{x0, x1, size_.cx};
    top_ = y + (height - size_.cy) / 2;
    if (!hwnd()) return;
    RegionHandle region = ThumbRegion(picture_.get());
    if (region && SetWindowRgn(hwnd(), region.get(), FALSE)) region.Release();  // the window owns it now
    Place(ThumbLeftOf(value_, travel_, minimum_, maximum_));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

int CThumbSlider::Left() const {
    if (!hwnd()) return ThumbLeftOf(value_, travel_, minimum_, maximum_);
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&rc), 2);
    return rc.left;
}

void CThumbSlider::Place(int left) {
    if (!hwnd()) return;
    SetWindowPos(hwnd(), nullptr, left, top_, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CThumbSlider::SetPos(int value) {
    const int old = value_;
    value_ = ThumbClamp(value, minimum_, maximum_);
    if (!hwnd()) return;
    if (value_ != old) NotifyAccessible(hwnd(), EVENT_OBJECT_VALUECHANGE);
    Place(ThumbLeftOf(value_, travel_, minimum_, maximum_));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void CThumbSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CThumbSlider::Report(int value) {
    NotifyAccessible(hwnd(), EVENT_OBJECT_VALUECHANGE);
    if (HWND track = hwnd() ? GetParent(hwnd()) : nullptr)
        PostMessageW(track, kSliderNotify, static_cast<WPARAM>(value), static_cast<LPARAM>(GetDlgCtrlID(hwnd())));
}

bool CThumbSlider::Describe(AccessibleFacts& facts) const {
    const CWindow* track = hwnd() ? CWindow::FromHandle(GetParent(hwnd())) : nullptr;
    if (!track || !track->Describe(facts)) return false;
    facts.name = track->AccessibleName();
    facts.focusable = true;
    return true;
}

bool CThumbSlider::OnLButtonDown(POINT at, UINT) {
    ShowFocusCue(false);
    SetFocus(hwnd());
    released_ = false;
    pressed_ = true;
    if (dragEnabled_) {
        SetCapture(hwnd());
        grab_ = at;
        dragging_ = true;
    }
    return true;
}

bool CThumbSlider::OnMouseMove(POINT at, UINT) {
    if (!dragging_) return false;
    const int oldLeft = Left();
    const int newLeft = DragLeft(oldLeft, at.x - grab_.x, travel_);
    if (newLeft != oldLeft) Place(newLeft);
    // Read from where the thumb was before this move: the value trails the
    // thumb by one move, and the button-up settles it.
    value_ = DragValue(oldLeft, travel_, minimum_, maximum_);
    Report(value_);
    return true;
}

void CThumbSlider::Settle() {
    pressed_ = false;
    dragging_ = false;
    // Cleared first: giving up the capture comes back here as a capture change.
    if (GetCapture() == hwnd()) ReleaseCapture();
    const SliderReading reading = ReleaseValue(Left(), travel_, minimum_, maximum_, snap_);
    DebugOutF(L"CThumbSlider=%f\n", static_cast<double>(reading.exact));
    released_ = true;
    value_ = reading.value;
    Report(value_);
    if (snap_) {
        Place(ThumbLeftOf(value_, travel_, minimum_, maximum_));
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

bool CThumbSlider::OnLButtonUp(POINT, UINT) {
    // A button pressed elsewhere and let go over the thumb is no use of it.
    if (pressed_) Settle();
    return true;
}

bool CThumbSlider::OnCaptureChanged(HWND gaining) {
    // Another window took the mouse mid-drag (a menu, a dialog, Alt+Tab): the
    // drag ends where the thumb is, as if the button had come up there.
    if (dragging_ && gaining != hwnd()) Settle();
    return false;
}

bool CThumbSlider::OnKeyDown(UINT virtualKey, UINT) {
    const SliderKey key = KeyOf(virtualKey);
    if (key == SliderKey::kNone) return false;
    if (pressed_) return true;  // the mouse has the thumb
    ShowFocusCue(true);
    const int value = KeyValue(key, value_, minimum_, maximum_);
    if (value == value_) return true;  // already at that end: nothing to apply
    SetPos(value);
    // A key press is a whole action: the page applies it at once.
    released_ = true;
    Report(value_);
    return true;
}

void CThumbSlider::ShowFocusCue(bool show) {
    if (show == focusCue_) return;
    focusCue_ = show;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CThumbSlider::OnKillFocus(HWND) {
    ShowFocusCue(false);
    return false;
}

void CThumbSlider::OnDestroy() {
    pressed_ = false;
    dragging_ = false;
    picture_.Reset();
}

void CThumbSlider::Draw(HDC dc) const {
    DrawPicture(dc, picture_.get(), 0, 0, size_.cx, size_.cy);
    if (!focusCue_ || GetFocus() != hwnd()) return;
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    if (shape && GetWindowRgn(hwnd(), shape.get()) != ERROR) {
        FrameRgn(dc, shape.get(), CachedBrush(kFocusLine), 1, 1);
    } else {
        RECT all{0, 0, size_.cx, size_.cy};
        FrameRect(dc, &all, CachedBrush(kFocusLine));
    }
}

bool CThumbSlider::OnPaint() {
    PaintDC paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    PaintBuffered(paint.get(), client, [this](HDC dc, const RECT&) { Draw(dc); });
    return true;
}

LRESULT CThumbSlider::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // the picture covers the thumb
        case WM_GETDLGCODE:
            // The arrows move the thumb rather than the dialog's focus.
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
            // Tabbed to: show where the keys will go. A click shows no cue; a
            // key press on the thumb does.
            ShowFocusCue((GetKeyState(VK_TAB) & 0x8000) != 0);
            break;
        default:
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}
