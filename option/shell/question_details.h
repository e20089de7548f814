#pragma once
// CQuestionDetails: the question box's read-only lines (what an imported
// profile would run, the profile a delete would take). A platform edit box,
// so that long lines scroll and can be selected, described to screen readers
// as the text it shows, which Wine would not do for a plain edit box.
#include <windows.h>

#include <string>

#include "button_pos.h"
#include "window.h"

class CQuestionDetails : public CWindow {
public:
    // A child of `parent` at `rect`, with a vertical bar when `scrolls`.
    bool Create(HWND parent, const SkinRect& rect, int id, const std::wstring& text, bool scrolls);
    void SetFont(HFONT font, bool redraw);
    bool Describe(AccessibleFacts& facts) const override;

protected:
    HBRUSH OnReflectedCtlColor(HDC dc) override;

private:
    std::wstring text_;
};
