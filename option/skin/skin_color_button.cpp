#include "skin_button.h"

#include <cwchar>

void CSkinColorButton::Compose(HDC dc, const RECT& rc, const ButtonState& state) {
    CopyPicture(dc, rc, Choose(state));
    if (state.disabled) return;
    // The swatch: the whole button but its four corner pixels.
    RegionHandle swatch(CreateRectRgn(rc.left, rc.top + 1, rc.right, rc.bottom - 1));
    RegionHandle upright(CreateRectRgn(rc.left + 1, rc.top, rc.right - 1, rc.bottom));
    if (!swatch || !upright) return;
    CombineRgn(swatch.get(), swatch.get(), upright.get(), RGN_OR);
    // Not from the thread's cache: the swatch shows whatever colour the user
    // picks, and the cache would keep every one of them.
    BrushHandle brush(CreateSolidBrush(fill_));
    FillRgn(dc, swatch.get(), brush.get());
}

bool CSkinColorButton::Describe(AccessibleFacts& facts) const {
    CSkinButtonBase::Describe(facts);
    // The colour a listener cannot see, as a colour picker writes it.
    wchar_t value[8];
    swprintf(value, 8, L"#%02X%02X%02X", GetRValue(fill_), GetGValue(fill_), GetBValue(fill_));
    facts.value = value;
    return true;
}
