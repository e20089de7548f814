#include "skin_label.h"

#include "gdi.h"

bool CSkinLabel::Create(HWND parent, const SkinRect& rect) {
    CreateParams p;
    p.className = L"GmSkinLabel";
    p.style = WS_CHILD | WS_VISIBLE;
    p.x = rect.left;
    p.y = rect.top;
    p.width = rect.Width() > 0 ? rect.Width() : 0;
    p.height = rect.Height() > 0 ? rect.Height() : 0;
    p.parent = parent;
    p.cursor = LoadCursorW(nullptr, IDC_ARROW);
    return CWindow::Create(p);
}

int CSkinLabel::OnCreate(CREATESTRUCTW*) {
    GetClientRect(hwnd(), &client_);
    return 0;
}

void CSkinLabel::SetText(std::wstring text) {
    text_ = std::move(text);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CSkinLabel::Draw(HDC dc) const {
    RECT box = client_;
    BrushHandle fill(CreateSolidBrush(background_));
    FillRect(dc, &box, fill.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColor);
    FontHandle font = CreateArialFont(14);
    SelectGuard select(dc, font.get());
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool CSkinLabel::OnPaint() {
    PaintDC paint(hwnd());
    const int width = client_.right - client_.left;
    const int height = client_.bottom - client_.top;
    if (!paint.get() || width <= 0 || height <= 0) return true;
    MemoryDC buffer(paint.get());
    BitmapHandle bitmap(buffer ? CreateCompatibleBitmap(paint.get(), width, height) : nullptr);
    if (!bitmap) {
        Draw(paint.get());
        return true;
    }
    SelectGuard select(buffer.get(), bitmap.get());
    Draw(buffer.get());
    BitBlt(paint.get(), 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
    return true;
}

LRESULT CSkinLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;  // the paint covers everything
    if (message == WM_SIZE) GetClientRect(hwnd(), &client_);
    return CWindow::HandleMessage(message, wParam, lParam);
}
