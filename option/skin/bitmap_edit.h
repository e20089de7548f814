#pragma once
// CBitmapEdit: the single-line text field of the skinned windows. An edit
// control in the skin's colours and font, its text centred vertically, that
// tells its parent about every change (wParam 0) and about losing the focus
// (wParam 1) with the registered message "BitmapEdit_KillFocus", posted.
#include <windows.h>

#include <string>

#include "button_pos.h"
#include "control_tooltip.h"
#include "window.h"

// The registered "BitmapEdit_KillFocus" message; registered on first use, once.
UINT BitmapEditKillFocusMessage();

class CBitmapEdit : public CWindow {
public:
    CBitmapEdit();

    // An edit child at `rect`. The skinned windows use a multi-line edit that
    // scrolls sideways (ES_MULTILINE | ES_AUTOHSCROLL) so the text can be centred.
    bool Create(HWND parent, const SkinRect& rect, DWORD style, int id);
    // Before the first paint; the program's windows use RGB(251, 251, 251) on RGB(31, 27, 41).
    void SetColors(COLORREF text, COLORREF background) {
        textColor_ = text;
        backColor_ = background;
    }
    void ApplyFont();
    void SetLimit(int characters);
    // Sets the text; the parent hears of it like of a typed change.
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    void SetTooltipText(const wchar_t* text) { tooltip_.SetText(hwnd(), text, true); }
    // Named by its owner (SetAccessibleName) after the label beside it.
    bool Describe(AccessibleFacts& facts) const override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnReflectedCtlColor(HDC dc) override;
    bool OnReflectedCommand(WORD code) override;

private:
    void PlaceText(HDC dc);
    void OnChanged();

    COLORREF textColor_ = RGB(36, 36, 36);
    COLORREF backColor_ = RGB(255, 255, 255);
    HFONT font_;  // not owned: the thread's font cache keeps it
    unsigned changes_ = 0;
    CControlTooltip tooltip_;
};
