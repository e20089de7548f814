#include "bitmap_edit.h"

#include "gdi.h"
#include "gdi_cache.h"
#include "skin_color.h"
#include "skin_control.h"
#include "skin_rescale.h"
#include "skin_scale.h"

UINT BitmapEditKillFocusMessage() {
    static const UINT message = RegisterWindowMessageW(L"BitmapEdit_KillFocus");
    return message;
}

CBitmapEdit::CBitmapEdit() : font_(SkinFont(15)) {}

bool CBitmapEdit::Create(HWND parent, const SkinRect& rect, DWORD style, int id) {
    BitmapEditKillFocusMessage();  // registered before anyone waits for it
    CreateParams p = SkinControlParams(L"GmBitmapEdit", rect, parent, id);
    p.style = style | WS_CHILD;  // shown when the owner says so
    return CreateSuperclassed(L"EDIT", p);
}

void CBitmapEdit::ApplyFont() {
    if (!hwnd()) return;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    // The font brings margins of its own; the text's place is set at every erase.
    SendMessageW(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void CBitmapEdit::SetLimit(int characters) {
    if (hwnd()) SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void CBitmapEdit::SetText(const std::wstring& text) {
    if (!hwnd()) return;
    const unsigned before = changes_;
    SetWindowTextW(hwnd(), text.c_str());
    // Multi-line edits do not report text set from code; do it for them.
    if (changes_ == before) OnChanged();
}

std::wstring CBitmapEdit::Text() const {
    if (!hwnd()) return {};
    const int length = GetWindowTextLengthW(hwnd());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd(), text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

HBRUSH CBitmapEdit::OnReflectedCtlColor(HDC dc) {
    // A disabled edit asks as a static control does; its text shows it is off.
    SetTextColor(dc, IsWindowEnabled(hwnd()) ? textColor_ : DisabledTextColor(textColor_, backColor_));
    SetBkColor(dc, backColor_);
    return CachedBrush(backColor_);
}

void CBitmapEdit::OnChanged() {
    ++changes_;
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (HWND parent = GetParent(hwnd())) PostMessageW(parent, BitmapEditKillFocusMessage(), 0, 0);
}

bool CBitmapEdit::OnReflectedCommand(WORD code) {
    if (code == EN_CHANGE) {
        OnChanged();
    } else if (code == EN_KILLFOCUS) {
        if (HWND parent = GetParent(hwnd())) PostMessageW(parent, BitmapEditKillFocusMessage(), 1, 0);
    }
    return false;  // the parent still sees the notification itself
}

void CBitmapEdit::PlaceText(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, CachedBrush(backColor_));
    TEXTMETRICW metrics{};
    {
        SelectGuard select(dc, font_);
        GetTextMetricsW(dc, &metrics);
    }
    const int height = client.bottom - client.top;
    OffsetRect(&client, S(2), (height - metrics.tmExternalLeading - metrics.tmHeight) / 2);
    SendMessageW(hwnd(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&client));
}

LRESULT CBitmapEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) tooltip_.Relay(message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            PlaceText(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_ENABLE: {
            const LRESULT result = DefaultProc(message, wParam, lParam);
            InvalidateRect(hwnd(), nullptr, TRUE);  // the text's colour follows the state
            return result;
        }
        case WM_VSCROLL:
            // Scrolled text needs its background painted again beneath it.
            InvalidateRect(hwnd(), nullptr, TRUE);
            return DefaultProc(message, wParam, lParam);
        default:
            if (message == SkinRescaleMessage()) {
                // The box has moved; its text takes the font of the new scale.
                font_ = SkinFont(15);
                SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
                return 0;
            }
            return CWindow::HandleMessage(message, wParam, lParam);
    }
}

bool CBitmapEdit::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kEditableText;
    facts.tooltip = tooltip_.text();
    facts.value = Text();
    return true;
}
