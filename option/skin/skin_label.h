#pragma once
// CSkinLabel: a one-line text that a window changes while it runs, centred on
// a solid background in the skins' accent colour, painted without flicker.
#include <windows.h>

#include <string>

#include "button_pos.h"
#include "control_tooltip.h"
#include "window.h"

class CSkinLabel : public CWindow {
public:
    static constexpr COLORREF kTextColor = RGB(128, 21, 153);

    // A child at `rect` of `parent` with control id `id`.
    bool Create(HWND parent, const SkinRect& rect, int id = 0);
    // At the entry's rectangle, with the entry's number as the id.
    bool CreateFromSkin(HWND parent, const ButtonPos& pos);
    void SetText(std::wstring text);
    const std::wstring& Text() const { return text_; }
    // Each shows at the next paint.
    void SetBkColor(COLORREF color) { background_ = color; }
    void SetTextColor(COLORREF color) { textColor_ = color; }
    void SetFontHeight(int height) { fontHeight_ = height; }
    // A tip for a label too short for all it has to say; empty: none.
    void SetTooltip(const std::wstring& text);
    // Paints the label into any device context at (0, 0).
    void Draw(HDC dc) const;
    bool Describe(AccessibleFacts& facts) const override;

protected:
    int OnCreate(CREATESTRUCTW* create) override;
    bool OnPaint() override;
    bool OnSize(UINT kind, int width, int height) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring text_;
    COLORREF background_ = RGB(2, 2, 2);
    COLORREF textColor_ = kTextColor;
    int fontHeight_ = 14;
    CControlTooltip tooltip_;
    RECT client_{};
};
