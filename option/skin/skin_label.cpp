#include "skin_label.h"

#include "accessible_object.h"
#include "buffered_paint.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "skin_control.h"
#include "skin_rescale.h"

bool CSkinLabel::Create(HWND parent, const SkinRect& rect, int id) {
    CreateParams p = SkinControlParams(L"GmSkinLabel", rect, parent, id);
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return CWindow::Create(p);
}

bool CSkinLabel::CreateFromSkin(HWND parent, const ButtonPos& pos) { return Create(parent, pos.rect, pos.entry); }

int CSkinLabel::OnCreate(CREATESTRUCTW*) {
    GetClientRect(hwnd(), &client_);
    return 0;
}

void CSkinLabel::SetText(std::wstring text) {
    const bool renamed = text != text_;
    text_ = std::move(text);
    if (!hwnd()) return;
    if (renamed) NotifyAccessible(hwnd(), EVENT_OBJECT_NAMECHANGE);
    // The window text too, for screen readers and anything else that asks.
    SetWindowTextW(hwnd(), text_.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinLabel::Draw(HDC dc) const {
    RECT box = client_;
    FillRect(dc, &box, CachedBrush(background_));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColor_);
    SelectGuard select(dc, SkinFont(fontHeight_));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool CSkinLabel::OnPaint() {
    PaintDC paint(hwnd());
    PaintBuffered(paint.get(), client_, [this](HDC dc, const RECT&) { Draw(dc); });
    return true;
}

bool CSkinLabel::OnSize(UINT, int width, int height) {
    client_ = RECT{0, 0, width, height};
    return false;
}

void CSkinLabel::SetTooltip(const std::wstring& text) {
    if (hwnd()) tooltip_.SetText(hwnd(), text.c_str(), !text.empty());
}

bool CSkinLabel::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kStaticText;
    facts.caption = text_;
    facts.tooltip = tooltip_.text();
    facts.focusable = false;
    return true;
}

LRESULT CSkinLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;  // the paint covers everything
    if (message == SkinRescaleMessage()) {
        GetClientRect(hwnd(), &client_);
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) tooltip_.Relay(message, wParam, lParam);
    return CWindow::HandleMessage(message, wParam, lParam);
}
